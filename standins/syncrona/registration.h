// Registering the stand-in selection component under its class id: on
// Windows in the class root (what regsvr32 asks of DllRegisterServer), on
// posix in the per-user classes of the registry store, where the posix COM
// backend looks the server library up.
#ifndef STANDINS_SYNCRONA_REGISTRATION_H_
#define STANDINS_SYNCRONA_REGISTRATION_H_

namespace standins {

// `address` lies in the server module, whose path is registered.
bool RegisterSelectionServer(const void* address);
bool UnregisterSelectionServer();

}  // namespace standins

#endif  // STANDINS_SYNCRONA_REGISTRATION_H_

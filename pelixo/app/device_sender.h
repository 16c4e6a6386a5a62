// The field-device destination of a send. The device component asks for the
// job's file during the send, through the save-as callback, for the DC
// version it wants; the send driver answers by building the job and writing
// it into the temporary directory. The binding to the real component wraps
// these two interfaces (it converts the wide texts and owns the reference
// count of its callback object, which must not outlive the send).
#ifndef PELIXO_APP_DEVICE_SENDER_H_
#define PELIXO_APP_DEVICE_SENDER_H_

#include <cstdint>
#include <string>

namespace pelixo {

// The status SaveAs gives when the file could not be written (E_FAIL).
inline constexpr int32_t kSaveAsFailed = static_cast<int32_t>(0x80004005u);

class SaveAsHandler {
 public:
  virtual ~SaveAsHandler() = default;
  // Builds the job for `dc_version`, writes it and gives its path. Returns 0
  // when the file was written; `name` and `reserved` are not used.
  virtual int32_t SaveAs(const std::string& name, int32_t reserved,
                         int32_t dc_version, std::string* path) = 0;
};

class DeviceSender {
 public:
  virtual ~DeviceSender() = default;
  // Sends the job `job_name` to a device the user picks; the file comes from
  // `callback`. True when the send succeeded. Tells the user itself when the
  // component is missing.
  virtual bool SendJobToDevice(const std::string& job_name,
                               SaveAsHandler& callback) = 0;
};

}  // namespace pelixo

#endif  // PELIXO_APP_DEVICE_SENDER_H_

// The calling conventions of functions other programs call or that we call
// in them: the standard Windows one (entries of libraries, COM methods,
// WinMain) and the C one (callbacks). One convention elsewhere.
#ifndef PLATFORM_CALLING_CONVENTION_H_
#define PLATFORM_CALLING_CONVENTION_H_

#if defined(_WIN32)
#define PLATFORM_STDCALL __stdcall
#define PLATFORM_CDECL __cdecl
#else
#define PLATFORM_STDCALL
#define PLATFORM_CDECL
#endif

#endif  // PLATFORM_CALLING_CONVENTION_H_

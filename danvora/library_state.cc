#include "danvora/library_state.h"

#include "danvora/interface.h"
#include "platform/switches.h"

namespace danvora {
namespace {

// The library's only mutable global.
LibraryState g_library_state;

}  // namespace

LibraryState& library_state() { return g_library_state; }

void use_library_switches() { platform::SetSwitches(DanvoraSwitches()); }

void reset_library_state() { g_library_state = LibraryState(); }

}  // namespace danvora

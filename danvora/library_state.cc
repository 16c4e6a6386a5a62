#include "danvora/library_state.h"

namespace danvora {
namespace {

// The library's only mutable global.
LibraryState g_library_state;

}  // namespace

LibraryState& library_state() { return g_library_state; }

void reset_library_state() { g_library_state = LibraryState(); }

}  // namespace danvora

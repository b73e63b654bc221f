#include "app/library_binding.h"

namespace vyrtel {

LibraryBinding tavrilexLibrary;

}  // namespace vyrtel

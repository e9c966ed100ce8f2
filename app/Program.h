#pragma once

namespace app {

// The program entry: creates the main window and the information boxes and
// runs until the main window closes. The backend must be installed first.
int programMain();

}  // namespace app

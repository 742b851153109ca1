// The setup program under test; main sets it from the command line.
#pragma once

namespace e2e {

// Takes the Linux path the build passes; Wine shows the Linux root as drive Z:.
void SetSetupPath(const char* linuxPath);

}  // namespace e2e

#pragma once
// What a program does first with its command line and standard streams, the
// same way on every system.

#include <string>
#include <vector>

namespace tavo {

// The arguments after the program's name. On Linux the bytes as given (a
// name need not be valid in any encoding); on Windows the UTF-16 command
// line as UTF-8, for argv there holds the local code page's approximation.
std::vector<std::string> programArguments(int argc, char** argv);

// Standard output and error carry the program's bytes unchanged: on Windows
// no "\n" becomes "\r\n" (output is the same as on Linux) and a console
// shows them as UTF-8 while the program runs. Nothing to do elsewhere.
void prepareStandardStreams();

}  // namespace tavo

// What the fake converter needs of the system it runs on.
#pragma once

#include <string>
#include <vector>

namespace fakeconv {

// Makes standard output and error pass bytes as they are (no line ends added).
void UseBinaryStreams();
// The program's arguments after its own name, as UTF-8.
std::vector<std::string> Arguments(int argc, char **argv);
// The program file's own path, as UTF-8.
std::string OwnPath();
long long ProcessId();
// Starts `program` (UTF-8) with `arguments`, not waited for; it keeps this program's standard
// output and error when `holdsOutput`.
void StartHelper(const std::string &program, bool holdsOutput, const std::vector<std::string> &arguments);
// Ends the process at once, as a crash would (by `signal` where the system has signals).
[[noreturn]] void EndAbruptly(int signal);

} // namespace fakeconv

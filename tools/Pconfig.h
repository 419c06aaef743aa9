// pconfig: makes, reads and queries the scrambled product configuration file
// pconfig.dcf for the people who prepare recovery media.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace palto::pconfig {

enum ExitCode { kSuccess = 0, kWrongUsage = 1, kFileFailed = 2 };

// Runs the tool on its arguments (without the program name). Results go to `out`,
// every complaint as one line to `err`.
int Run(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// The text with every line break written as CR LF, as the wizard's reader needs it:
// it ends a line only at a CR and drops the byte after it.
std::string WithCrLf(std::string_view plain);

}  // namespace palto::pconfig

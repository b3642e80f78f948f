// The HTML manual installed with the program, and the addresses of its topics.
#pragma once

#include <string>

namespace zavota::platform {

// The context the expenses dialog asks for.
inline constexpr int kHelpContextKeihi = 81;

// The manual beside the executable ("help/index.html", where the build copies it), else in the
// installed layout ("../share/zavota/help/index.html"); empty when there is neither.
std::string FindHelpManual();
// The same search from a given folder (with a trailing "/").
std::string FindHelpManual(const std::string& executableFolder);

// The anchor of a help context inside the manual; empty for the table of contents and for
// contexts the manual does not know.
std::string HelpAnchor(int context);

// A "file://" address of the manual at a context: the path percent-encoded where a URL needs
// it (spaces, "#", "%", non-ASCII bytes), followed by "#anchor" when the context has one.
// Empty when `manualPath` is empty or not absolute.
std::string HelpUrl(const std::string& manualPath, int context);

}  // namespace zavota::platform

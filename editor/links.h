#pragma once

// The addresses the program opens or links to, kept in one place.
namespace Links {

inline constexpr const char *homepage = "https://www.pruvex.de";
// Opened by the help button beside the quiz-script address.
inline constexpr const char *support = "https://www.pruvex.de/support/quizscript.html";
inline constexpr const char *email = "info@pruvex.de";
// The update check reports version 1.3.0 to the server, whatever the
// caption says; the server's answer page is shown as it comes.
inline constexpr const char *updateCheck = "http://www.pruvex.de/versions/pruvexcheck.php?major=1&minor=3&bugfix=0";

} // namespace Links

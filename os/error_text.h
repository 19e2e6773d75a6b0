// The system's words for one of its error numbers, for logs.
#pragma once

#include <string>

namespace os {

// "32: The process cannot access the file ..." on Windows; the number alone
// elsewhere.
std::wstring ErrorText(long code);
// The words alone, for a message to the user; empty where the system has
// none (and off Windows).
std::wstring ErrorWords(long code);

}  // namespace os

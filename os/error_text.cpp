#include "os/error_text.h"

#ifndef _WIN32
namespace os {

std::wstring ErrorText(long code) { return std::to_wstring(code); }
std::wstring ErrorWords(long) { return {}; }

}  // namespace os
#endif

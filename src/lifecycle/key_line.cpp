#include "lifecycle/key_line.hpp"

namespace rizuz {

scan::Signed32 MatchKeyLine(const char* line, const char* key) {
    const scan::Signed32 noMatch{false, 0, line};
    const char* p = line;
    for (; *key != '\0'; ++key, ++p) {
        if (*p != *key) return noMatch;  // also stops at the line's NUL
    }
    while (scan::IsSpace(*p)) ++p;  // the blank before '=' matches any run, or none
    if (*p != '=') return noMatch;
    const scan::Signed32 number = scan::SignedDecimal(p + 1);  // skips the white space after '='
    return number.ok ? number : noMatch;
}

}  // namespace rizuz

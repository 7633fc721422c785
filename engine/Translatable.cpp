#include "engine/Translatable.h"

std::string TPhrase::Text() const {
    std::string out;
    for (const char *p = Pattern; *p; ++p) {
        const size_t n =
            p[0] == '%' && p[1] >= '1' && p[1] <= '9' ? size_t(p[1] - '1') : Args.size();
        if (n < Args.size()) {
            out += Args[n];
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

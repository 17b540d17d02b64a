// Splits one scenario line into words, quoted texts and list brackets.
// Blanks and commas separate words; '#' outside quotes starts a comment.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nuvhost {

struct Token {
    enum class Kind { Word, Text, Open, Close };
    Kind kind;
    std::string text;  // a quoted text without its quotes, escapes resolved
    std::size_t begin = 0;  // where it stands in the line, quotes included
    std::size_t end = 0;
};

// False with a reason when a quote is not closed or an escape is unknown.
bool Tokenize(std::string_view line, std::vector<Token>& tokens, std::string& error);

}  // namespace nuvhost

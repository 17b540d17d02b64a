#include "tokenizer.hpp"

#include "text.hpp"

namespace nuvhost {

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\r' || c == ','; }

// Reads a quoted text starting after its opening quote; `at` ends after the closing quote.
bool ReadQuoted(std::string_view line, std::size_t& at, std::string& text, std::string& error) {
    while (at < line.size()) {
        const char c = line[at++];
        if (c == '"') return true;
        if (c != '\\') {
            text += c;
            continue;
        }
        if (at >= line.size()) break;
        const char escaped = line[at++];
        if (escaped == '"' || escaped == '\\') {
            text += escaped;
        } else if (escaped == 'x' && at + 2 <= line.size() && ParseHexByte(line.substr(at, 2))) {
            text += static_cast<char>(*ParseHexByte(line.substr(at, 2)));
            at += 2;
        } else {
            error = std::string("unknown escape \\") + escaped + " in a quoted text (use \\\", \\\\ or \\xNN)";
            return false;
        }
    }
    error = "a quoted text is not closed with \"";
    return false;
}

}  // namespace

bool Tokenize(std::string_view line, std::vector<Token>& tokens, std::string& error) {
    tokens.clear();
    std::size_t at = 0;
    while (at < line.size()) {
        const char c = line[at];
        if (IsSeparator(c)) {
            ++at;
        } else if (c == '#') {
            break;
        } else if (c == '[' || c == ']') {
            tokens.push_back({c == '[' ? Token::Kind::Open : Token::Kind::Close, std::string(1, c), at, at + 1});
            ++at;
        } else if (c == '"') {
            Token token{Token::Kind::Text, {}, at, 0};
            ++at;
            if (!ReadQuoted(line, at, token.text, error)) return false;
            token.end = at;
            tokens.push_back(std::move(token));
        } else {
            const std::size_t start = at;
            while (at < line.size() && !IsSeparator(line[at]) && line[at] != '#' && line[at] != '[' &&
                   line[at] != ']' && line[at] != '"') {
                ++at;
            }
            tokens.push_back({Token::Kind::Word, std::string(line.substr(start, at - start)), start, at});
        }
    }
    return true;
}

}  // namespace nuvhost

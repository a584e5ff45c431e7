#pragma once
// The Like operator of bibliography statements: "*" any run, "?" one character,
// "#" one digit, "[abc]", "[a-z]" and "[!abc]" classes; letters match whatever their case,
// also beyond ASCII (Ä matches ä). A "[" without its "]" stands for itself.

#include <cstdint>
#include <string_view>
#include <vector>

struct sqlite3;

namespace papyrant {

class LikePattern {
public:
    explicit LikePattern(std::string_view utf8Pattern);
    bool matches(std::string_view utf8Subject) const;

    struct Range {
        char32_t low;
        char32_t high;
    };
    struct Token {
        enum Kind : std::uint8_t { Literal, AnyOne, Digit, Class } kind;
        bool negated = false;
        char32_t literal = 0; // folded
        std::vector<Range> ranges; // folded bounds
    };
    using Segment = std::vector<Token>;

private:
    template <typename Char>
    bool matchText(const Char* text, std::size_t length) const;

    std::vector<Segment> m_segments; // the pieces between stars
    std::vector<std::size_t> m_anchors; // per piece, the token looked for first
    bool m_leadingStar = false;
    bool m_trailingStar = false;
    bool m_bytesSuffice = false; // every token matches only single ASCII characters
    bool m_wideFormsMatter = false; // a token matches the Kelvin sign or the long s
};

// Installs this Like on a connection, replacing SQLite's own (also for Not Like).
void registerLikeFunction(sqlite3* db);

} // namespace papyrant

#pragma once
// The Like operator of bibliography statements: "*" any run, "?" one character,
// "#" one digit, "[abc]", "[a-z]" and "[!abc]" classes; letters match whatever their case,
// also beyond ASCII (Ä matches ä). A "[" without its "]" stands for itself.
//
// A whole-word match is a stretch of the text the pattern matches that begins at the
// text's start or after a character that is no word character, and ends at the text's
// end or before one. Word characters are letters and digits of any script, and the
// combining marks that belong to them; blanks, punctuation, quotes, brackets and dashes
// all end a word ("Müller," and "Состояние." hold the words Müller and Состояние).

#include <cstdint>
#include <string_view>
#include <vector>

struct sqlite3;

namespace papyrant {

class LikePattern {
public:
    explicit LikePattern(std::string_view utf8Pattern);
    bool matches(std::string_view utf8Subject) const;
    // True when the pattern matches a whole word (or a run of words) of the subject.
    bool matchesWholeWord(std::string_view utf8Subject) const;

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
    template <typename Char>
    bool matchWholeWord(const Char* text, std::size_t length) const;
    template <typename Match>
    bool dispatch(std::string_view utf8Subject, Match match) const;

    std::vector<Segment> m_segments; // the pieces between stars
    std::vector<std::size_t> m_anchors; // per piece, the token looked for first
    bool m_leadingStar = false;
    bool m_trailingStar = false;
    bool m_bytesSuffice = false; // every token matches only single ASCII characters
    bool m_wideFormsMatter = false; // a token matches the Kelvin sign or the long s
};

// True for a character that belongs to a word: a letter, a digit or a combining mark.
bool isWordCharacter(char32_t c);

// Installs this Like on a connection, replacing SQLite's own (also for Not Like), and
// WholeWord(text, pattern): 1 when the pattern matches a whole word of the text, 0 when
// not, NULL for a NULL text.
void registerLikeFunction(sqlite3* db);

} // namespace papyrant

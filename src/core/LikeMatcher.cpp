#include "core/LikeMatcher.h"

#include <QChar>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <type_traits>

namespace papyrant {
namespace {

constexpr std::array<unsigned char, 256> makeByteFold()
{
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return table;
}
// Folds single bytes: ASCII letters to lower case, every other byte to itself.
constexpr std::array<unsigned char, 256> byteFold = makeByteFold();

inline char32_t fold(char32_t c)
{
    if (c < 128)
        return byteFold[c];
    return QChar::toCaseFolded(c);
}
inline char32_t fold(unsigned char c)
{
    return byteFold[c];
}

// Decodes one UTF-8 sequence; malformed bytes stand for themselves so nothing is lost.
char32_t decodeUtf8(const unsigned char*& p, const unsigned char* end)
{
    const unsigned char lead = *p++;
    if (lead < 0x80)
        return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || end - p < extra)
        return lead;
    char32_t cp = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return lead;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return cp;
}

// The characters outside ASCII that fold into it, with their UTF-8 bytes.
struct WideForm {
    char32_t codePoint;
    std::string_view utf8;
};
constexpr std::array<WideForm, 2> WideForms = {{{0x212A, "\xE2\x84\xAA"}, {0x017F, "\xC5\xBF"}}}; // Kelvin sign, long s

bool holdsWideForm(std::string_view text)
{
    return std::any_of(WideForms.begin(), WideForms.end(),
        [&](const WideForm& wide) { return text.find(wide.utf8) != std::string_view::npos; });
}

bool isAscii(std::string_view text)
{
    for (unsigned char c : text) {
        if (c >= 0x80)
            return false;
    }
    return true;
}

template <typename Char>
inline bool tokenMatches(const LikePattern::Token& token, Char raw)
{
    switch (token.kind) {
    case LikePattern::Token::Literal: return fold(raw) == token.literal;
    case LikePattern::Token::AnyOne: return true;
    case LikePattern::Token::Digit: return raw >= '0' && raw <= '9';
    case LikePattern::Token::Class: {
        const char32_t c = fold(raw);
        bool inside = false;
        for (const auto& range : token.ranges) {
            if (c >= range.low && c <= range.high) {
                inside = true;
                break;
            }
        }
        return inside != token.negated;
    }
    }
    return false;
}

template <typename Char>
bool segmentMatchesAt(const LikePattern::Segment& segment, const Char* text)
{
    for (std::size_t i = 0; i < segment.size(); ++i) {
        if (!tokenMatches(segment[i], text[i]))
            return false;
    }
    return true;
}

// How common a character is in text, lower for rarer ones: the rarest literal of a piece
// is the one looked for first, so a word piece " protein " is looked for at its p's
// rather than at every blank.
int commonness(const LikePattern::Token& token)
{
    static constexpr std::string_view ByFrequency = "zqxjkvbpygfwmucldrhsnioate"; // rarest first
    if (token.kind != LikePattern::Token::Literal || token.literal >= 128)
        return 1000;
    const std::size_t rank = ByFrequency.find(static_cast<char>(token.literal));
    return rank == std::string_view::npos ? (token.literal == ' ' ? 200 : 100) : static_cast<int>(rank);
}

// Leftmost place in [from, limit) where the segment matches, or npos. Candidates are
// the places of its anchor token, which memchr finds in either case on bytes.
template <typename Char>
std::size_t findSegment(
    const LikePattern::Segment& segment, std::size_t anchor, const Char* text, std::size_t from, std::size_t limit)
{
    const std::size_t width = segment.size();
    if (limit < width || from > limit - width)
        return std::string::npos;
    const std::size_t last = limit - width;
    const auto& key = segment[anchor];
    if constexpr (std::is_same_v<Char, unsigned char>) {
        if (key.kind == LikePattern::Token::Literal && key.literal < 128) {
            const auto lower = static_cast<unsigned char>(key.literal);
            const auto upper = static_cast<unsigned char>(lower >= 'a' && lower <= 'z' ? lower - 32 : lower);
            const unsigned char* end = text + last + anchor + 1;
            auto next = [end](const unsigned char* p, unsigned char c) {
                return p < end ? static_cast<const unsigned char*>(std::memchr(p, c, end - p)) : nullptr;
            };
            const unsigned char* nextLower = next(text + from + anchor, lower);
            const unsigned char* nextUpper = upper == lower ? nullptr : next(text + from + anchor, upper);
            while (nextLower || nextUpper) {
                const unsigned char* at = !nextUpper || (nextLower && nextLower < nextUpper) ? nextLower : nextUpper;
                if (segmentMatchesAt(segment, at - anchor))
                    return static_cast<std::size_t>(at - anchor - text);
                if (at == nextLower)
                    nextLower = next(at + 1, lower);
                else
                    nextUpper = next(at + 1, upper);
            }
            return std::string::npos;
        }
    }
    for (std::size_t at = from; at <= last; ++at) {
        if (tokenMatches(key, text[at + anchor]) && segmentMatchesAt(segment, text + at))
            return at;
    }
    return std::string::npos;
}

// Word edges. On bytes, a character outside ASCII is decoded from its UTF-8 sequence
// (backwards for the one before a place), so a letter like ü or Я never ends a word.
bool wordCharacterAt(const char32_t* text, std::size_t at)
{
    return isWordCharacter(text[at]);
}
bool wordCharacterAt(const unsigned char* text, std::size_t at, std::size_t length)
{
    const unsigned char* p = text + at;
    return isWordCharacter(decodeUtf8(p, text + length));
}
bool wordCharacterBefore(const unsigned char* text, std::size_t at)
{
    if (text[at - 1] < 0x80)
        return isWordCharacter(text[at - 1]);
    std::size_t lead = at - 1;
    while (lead > 0 && at - lead < 4 && (text[lead] & 0xC0) == 0x80)
        --lead;
    const unsigned char* p = text + lead;
    const char32_t c = decodeUtf8(p, text + at);
    // A sequence that does not end right here was a stray byte, standing for itself.
    return p == text + at ? isWordCharacter(c) : isWordCharacter(text[at - 1]);
}
bool startsWord(const char32_t* text, std::size_t at)
{
    return at == 0 || !wordCharacterAt(text, at - 1);
}
bool startsWord(const unsigned char* text, std::size_t at)
{
    return at == 0 || !wordCharacterBefore(text, at);
}
bool endsWord(const char32_t* text, std::size_t at, std::size_t length)
{
    return at == length || !wordCharacterAt(text, at);
}
bool endsWord(const unsigned char* text, std::size_t at, std::size_t length)
{
    return at == length || !wordCharacterAt(text, at, length);
}

} // namespace

bool isWordCharacter(char32_t c)
{
    if (c < 128)
        return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
    return QChar::isLetterOrNumber(c) || QChar::isMark(c);
}

LikePattern::LikePattern(std::string_view utf8Pattern)
{
    std::u32string pattern;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8Pattern.data());
    const auto* end = p + utf8Pattern.size();
    while (p < end)
        pattern.push_back(decodeUtf8(p, end));

    m_segments.emplace_back();
    auto addLiteral = [this](char32_t c) {
        Token token{Token::Literal, false, 0, {}};
        token.literal = fold(c);
        m_segments.back().push_back(std::move(token));
    };
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char32_t c = pattern[i];
        if (c == U'*') {
            if (i == 0)
                m_leadingStar = true;
            if (!m_segments.back().empty())
                m_segments.emplace_back();
            continue;
        }
        if (c == U'?') {
            m_segments.back().push_back(Token{Token::AnyOne, false, 0, {}});
        } else if (c == U'#') {
            m_segments.back().push_back(Token{Token::Digit, false, 0, {}});
        } else if (c == U'[') {
            const std::size_t close = pattern.find(U']', i + 1);
            if (close == std::u32string::npos || close == i + 1) {
                addLiteral(c); // no class here: the bracket is an ordinary character
                continue;
            }
            Token token{Token::Class, false, 0, {}};
            std::size_t j = i + 1;
            if (pattern[j] == U'!' && j + 1 < close) {
                token.negated = true;
                ++j;
            }
            for (; j < close; ++j) {
                char32_t low = pattern[j];
                char32_t high = low;
                if (j + 2 < close && pattern[j + 1] == U'-') {
                    high = pattern[j + 2];
                    j += 2;
                }
                low = fold(low);
                high = fold(high);
                if (low > high)
                    std::swap(low, high);
                token.ranges.push_back({low, high});
            }
            m_segments.back().push_back(std::move(token));
            i = close;
        } else {
            addLiteral(c);
        }
    }
    m_trailingStar = !pattern.empty() && pattern.back() == U'*';
    // An ASCII pattern whose tokens match one ASCII character each can run on the UTF-8
    // bytes as they are: a byte of a longer character never equals them. A pattern with
    // any other character cannot: the Kelvin sign folds to k, so its bytes must be read
    // as characters to match even the Kelvin sign itself.
    m_bytesSuffice = isAscii(utf8Pattern);
    for (const Segment& segment : m_segments) {
        for (const Token& token : segment) {
            m_bytesSuffice = m_bytesSuffice && token.kind != Token::AnyOne && !token.negated;
            m_wideFormsMatter = m_wideFormsMatter || std::any_of(WideForms.begin(), WideForms.end(), [&](auto wide) {
                return tokenMatches(token, wide.codePoint);
            });
        }
    }
    if (m_segments.back().empty() && m_segments.size() > 1)
        m_segments.pop_back();
    for (const Segment& segment : m_segments) {
        const auto rarest = std::min_element(segment.begin(), segment.end(),
            [](const Token& a, const Token& b) { return commonness(a) < commonness(b); });
        m_anchors.push_back(static_cast<std::size_t>(rarest - segment.begin()));
    }
}

template <typename Match>
bool LikePattern::dispatch(std::string_view utf8Subject, Match match) const
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8Subject.data());
    if (m_bytesSuffice) {
        if (match(bytes, utf8Subject.size()))
            return true;
        // A k or s of the pattern may still stand for a Kelvin sign or long s of the text.
        if (!m_wideFormsMatter || !holdsWideForm(utf8Subject))
            return false;
    } else if (isAscii(utf8Subject)) {
        return match(bytes, utf8Subject.size());
    }
    thread_local std::u32string decoded;
    decoded.clear();
    const auto* p = reinterpret_cast<const unsigned char*>(utf8Subject.data());
    const auto* end = p + utf8Subject.size();
    while (p < end)
        decoded.push_back(decodeUtf8(p, end));
    return match(decoded.data(), decoded.size());
}

bool LikePattern::matches(std::string_view utf8Subject) const
{
    return dispatch(utf8Subject, [this](const auto* text, std::size_t length) { return matchText(text, length); });
}

bool LikePattern::matchesWholeWord(std::string_view utf8Subject) const
{
    return dispatch(utf8Subject, [this](const auto* text, std::size_t length) { return matchWholeWord(text, length); });
}

template <typename Char>
bool LikePattern::matchText(const Char* text, std::size_t length) const
{
    const bool anyStar = m_leadingStar || m_trailingStar || m_segments.size() > 1;
    if (!anyStar) {
        const Segment& only = m_segments.front();
        return only.size() == length && segmentMatchesAt(only, text);
    }
    std::size_t begin = 0;
    std::size_t limit = length;
    std::size_t first = 0;
    std::size_t last = m_segments.size();
    if (!m_leadingStar) {
        const Segment& head = m_segments.front();
        if (head.size() > length || !segmentMatchesAt(head, text))
            return false;
        begin = head.size();
        ++first;
    }
    if (!m_trailingStar && last > first) {
        const Segment& tail = m_segments.back();
        if (tail.size() > limit - begin || !segmentMatchesAt(tail, text + (length - tail.size())))
            return false;
        limit = length - tail.size();
        --last;
    }
    // Each middle piece is taken at its leftmost place: every token is one character
    // wide, so an earlier place never spoils a later piece.
    for (std::size_t s = first; s < last; ++s) {
        const Segment& segment = m_segments[s];
        if (segment.empty())
            continue;
        const std::size_t at = findSegment(segment, m_anchors[s], text, begin, limit);
        if (at == std::string::npos)
            return false;
        begin = at + segment.size();
    }
    return true;
}

template <typename Char>
bool LikePattern::matchWholeWord(const Char* text, std::size_t length) const
{
    const bool anyStar = m_leadingStar || m_trailingStar || m_segments.size() > 1;
    if (!anyStar) {
        // One fixed-width piece: each place it matches, leftmost first, until one is a word.
        const Segment& only = m_segments.front();
        for (std::size_t from = 0;;) {
            const std::size_t at = findSegment(only, m_anchors.front(), text, from, length);
            if (at == std::string::npos)
                return false;
            if (startsWord(text, at) && endsWord(text, at + only.size(), length))
                return true;
            from = at + 1;
        }
    }
    // The widest room for the pieces between stars: the head at its leftmost place that
    // starts a word, the tail at its rightmost place that ends one. More room never
    // spoils a match, so these two places decide.
    std::size_t begin = 0;
    std::size_t limit = length;
    std::size_t first = 0;
    std::size_t last = m_segments.size();
    if (!m_leadingStar) {
        const Segment& head = m_segments.front();
        std::size_t at = findSegment(head, m_anchors.front(), text, 0, length);
        while (at != std::string::npos && !startsWord(text, at))
            at = findSegment(head, m_anchors.front(), text, at + 1, length);
        if (at == std::string::npos)
            return false;
        begin = at + head.size();
        ++first;
    }
    if (!m_trailingStar && last > first) {
        const Segment& tail = m_segments.back();
        if (tail.size() > limit - begin)
            return false;
        std::size_t end = length;
        while (!(endsWord(text, end, length) && segmentMatchesAt(tail, text + (end - tail.size())))) {
            if (end == begin + tail.size())
                return false;
            --end;
        }
        limit = end - tail.size();
        --last;
    }
    for (std::size_t s = first; s < last; ++s) {
        const Segment& segment = m_segments[s];
        if (segment.empty())
            continue;
        const std::size_t at = findSegment(segment, m_anchors[s], text, begin, limit);
        if (at == std::string::npos)
            return false;
        begin = at + segment.size();
    }
    return true;
}

namespace {

// The compiled pattern of argument `patternArg`, kept with the statement: the pattern is
// the same on every row. Null when SQLite could not keep it; `once` holds it then.
const LikePattern* compiledPattern(
    sqlite3_context* context, sqlite3_value* patternValue, int patternArg, std::optional<LikePattern>& once)
{
    if (auto* kept = static_cast<LikePattern*>(sqlite3_get_auxdata(context, patternArg)))
        return kept;
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(patternValue));
    const std::string_view pattern(text, sqlite3_value_bytes(patternValue));
    sqlite3_set_auxdata(
        context, patternArg, new LikePattern(pattern), [](void* p) { delete static_cast<LikePattern*>(p); });
    // SQLite may have freed it already when it could not keep it.
    if (auto* kept = static_cast<LikePattern*>(sqlite3_get_auxdata(context, patternArg)))
        return kept;
    once.emplace(pattern);
    return &*once;
}

std::string_view textOf(sqlite3_value* value)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return {text, static_cast<std::size_t>(sqlite3_value_bytes(value))};
}

void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (argc < 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    std::optional<LikePattern> once;
    const LikePattern* pattern = compiledPattern(context, argv[0], 0, once);
    sqlite3_result_int(context, pattern->matches(textOf(argv[1])));
}

// WholeWord(text, pattern), the text first as it reads in a statement.
void wholeWordFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    std::optional<LikePattern> once;
    const LikePattern* pattern = compiledPattern(context, argv[1], 1, once);
    sqlite3_result_int(context, pattern->matchesWholeWord(textOf(argv[0])));
}

} // namespace

void registerLikeFunction(sqlite3* db)
{
    sqlite3_create_function(
        db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, &likeFunction, nullptr, nullptr);
    sqlite3_create_function(
        db, "WholeWord", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, &wholeWordFunction, nullptr, nullptr);
}

} // namespace papyrant

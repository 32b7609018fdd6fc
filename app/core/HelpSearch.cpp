#include "app/core/HelpSearch.h"
#include "platform/AsciiCase.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int kTitleWeight = 10;

bool IsWordChar(unsigned char c)
{
    // Bytes of multi-byte UTF-8 characters belong to words too.
    return std::isalnum(c) != 0 || c >= 0x80;
}

int CountPrefixMatches(const std::vector<std::string>& words, const std::string& term)
{
    int count = 0;
    for (const std::string& word : words)
        count += word.compare(0, term.size(), term) == 0 ? 1 : 0;
    return count;
}

std::string LowerCopy(std::string_view text) { return platform::ToLowerAscii(text); }

} // namespace

std::vector<std::string> HelpSearch::Words(std::string_view text)
{
    std::vector<std::string> words;
    std::string current;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsWordChar(c)) {
            current += platform::ToLowerAscii(static_cast<char>(c));
        } else if (!current.empty()) {
            words.push_back(std::move(current));
            current.clear();
        }
    }
    if (!current.empty())
        words.push_back(std::move(current));
    return words;
}

std::string HelpSearch::PlainText(std::string_view html)
{
    std::string out;
    std::size_t i = 0;
    const std::string lower = LowerCopy(html);
    while (i < html.size()) {
        if (html[i] == '<') {
            // Scripts and styles hold no text a reader sees.
            for (const char* element : {"script", "style"}) {
                const std::string open = std::string("<") + element;
                if (lower.compare(i, open.size(), open) == 0) {
                    const std::size_t close = lower.find(std::string("</") + element, i);
                    i = close == std::string::npos ? html.size() : close;
                    break;
                }
            }
            const std::size_t end = html.find('>', i);
            i = end == std::string_view::npos ? html.size() : end + 1;
            out += ' ';
            continue;
        }
        if (html[i] == '&') {
            static const std::pair<const char*, const char*> kEntities[] = {
                {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&nbsp;", " "}, {"&#39;", "'"}};
            bool decoded = false;
            for (const auto& [entity, text] : kEntities) {
                const std::string_view e(entity);
                if (html.substr(i, e.size()) == e) {
                    out += text;
                    i += e.size();
                    decoded = true;
                    break;
                }
            }
            if (decoded)
                continue;
        }
        out += html[i++];
    }
    return out;
}

void HelpSearch::AddPage(std::string file, std::string title, std::string_view html)
{
    Page page;
    page.titleWords = Words(title);
    page.words = Words(PlainText(html));
    page.file = std::move(file);
    page.title = std::move(title);
    m_Pages.push_back(std::move(page));
}

std::vector<HelpSearch::Hit> HelpSearch::Find(std::string_view query) const
{
    const std::vector<std::string> terms = Words(query);
    std::vector<Hit> hits;
    if (terms.empty())
        return hits;
    for (const Page& page : m_Pages) {
        int score = 0;
        bool all = true;
        for (const std::string& term : terms) {
            const int inTitle = CountPrefixMatches(page.titleWords, term);
            const int inText = CountPrefixMatches(page.words, term);
            if (inTitle + inText == 0) {
                all = false;
                break;
            }
            score += inTitle * kTitleWeight + inText;
        }
        if (all)
            hits.push_back({page.file, page.title, score});
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.score > b.score; });
    return hits;
}

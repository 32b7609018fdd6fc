#pragma once
// Full-text search over the help pages: every word of the query must occur
// on a page (case does not matter, a word matches the start of a page's
// word); pages are ranked by how often the words occur, a hit in the title
// counting for more.

#include <string>
#include <string_view>
#include <vector>

class HelpSearch {
public:
    struct Hit {
        std::string file;
        std::string title;
        int score = 0;
    };

    // html: the page's source; its tags, scripts and styles are not searched.
    void AddPage(std::string file, std::string title, std::string_view html);

    // Best first; ties keep the order the pages were added. Nothing for a
    // query without words.
    std::vector<Hit> Find(std::string_view query) const;

    // The words of a text, lower-cased (letters and digits; anything else
    // separates words).
    static std::vector<std::string> Words(std::string_view text);
    // The text a browser would show: tags dropped, the common entities
    // decoded.
    static std::string PlainText(std::string_view html);

private:
    struct Page {
        std::string file;
        std::string title;
        std::vector<std::string> titleWords;
        std::vector<std::string> words;
    };

    std::vector<Page> m_Pages;
};

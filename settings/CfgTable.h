#pragma once
// The .cfg file as read: one row per line, queried key by key.
//
// The lookup keeps the behaviour files written over the years rely on:
// only the first section of a name is searched and the first key of a name
// in it wins; names match without regard to case but are not trimmed (a
// blank before the "=" stays in the key); rows before the first section line
// belong to no section; at most kMaxRows lines are read.
// Every line is read whole, however long, and a last line without a line
// end counts; each field keeps what fits in it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/ZeroFilledArray.h"

struct CfgEntry {
    static constexpr std::size_t kNameSize = 40;
    // Large enough for the longest text field (a 260-character path), so
    // that a file reads back what the writer wrote.
    static constexpr std::size_t kValueSize = 260;

    std::uint8_t isSection;
    char section[kNameSize];
    char key[kNameSize];
    char value[kValueSize];
};

class CfgTable {
public:
    static constexpr std::size_t kMaxRows = 10000;
    // A written file takes a few kilobytes; a larger one is no configuration.
    static constexpr std::size_t kMaxFileBytes = std::size_t{16} << 20;

    // False, with nothing read, when the file cannot be read whole (missing,
    // no regular file, a read error, larger than kMaxFileBytes) or the table
    // cannot be allocated.
    bool Read(const std::string& path);

    std::size_t RowCount() const { return m_Count; }
    const CfgEntry& Row(std::size_t i) const { return m_Rows[i]; }

    // The key's value, or defaultValue when the section or key is missing;
    // at most size − 1 characters either way.
    std::string Lookup(std::string_view section, std::string_view key, std::string_view defaultValue,
                       std::size_t size) const;

private:
    void StoreLine(std::string_view line);
    void IndexKeys();
    static std::string IndexName(std::string_view section, std::string_view key);

    platform::ZeroFilledArray<CfgEntry> m_Rows;
    std::size_t m_Count = 0;
    // The row each lookup finds, by section and key name: a file has some
    // thousand keys, each looked up once per load, so a lookup must not scan
    // every row.
    std::unordered_map<std::string, std::size_t> m_KeyRows;
};

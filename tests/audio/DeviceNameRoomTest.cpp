// Names copied into a caller's room of a given length: the longest name that
// fits stands whole with its terminator, one longer is cut, and nothing is
// written past the room. The rooms are heap blocks of exactly their length,
// so the sanitizer sees a write past the end; the bytes behind a copy in a
// larger block show it to a plain check.

#include "audio/AsioDeviceList.h"
#include "audio/AsioDriverList.h"
#include "tests/audio/AsioTestSupport.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// The name asked into a room of `length` bytes: "<error>" when refused.
std::string NameInRoom(const AsioDriverList& list, int index, int length)
{
    const auto room = std::make_unique<char[]>(static_cast<std::size_t>(length));
    return list.asioGetDriverName(index, room.get(), length) == kAsioOk ? std::string(room.get()) : "<error>";
}

// The bytes a copy into a room of `length` left behind it, in a block with
// eight more bytes filled with '#'.
std::string BehindTheRoom(const AsioDriverList& list, int index, int length)
{
    std::vector<char> block(static_cast<std::size_t>(length) + 8, '#');
    list.asioGetDriverName(index, block.data(), length);
    return std::string(block.begin() + length, block.end());
}

} // namespace

class DeviceNameRoom : public AsioTest {};

TEST_F(DeviceNameRoom, ANameFillingTheRoomStandsWholeOneLongerIsCutAndNothingIsWrittenPastTheRoom)
{
    const std::string ten = "0123456789";
    const std::string longest(AsioDriverList::kNameCapacity - 1, 'n');
    AddTestDriver("A", 1, {}, ten);
    AddTestDriver("B", 2, {}, longest);
    AsioDriverList list;
    ASSERT_EQ(list.asioGetNumDev(), 2);
    struct Case {
        int index;
        int length;
        std::string name;
    };
    const Case cases[] = {
        {0, 11, ten},                           // ten characters and the terminator: whole
        {0, 12, ten},
        {0, 10, "012345..."},                   // one short: cut to length − 4 and "..."
        {0, 4, "..."},                          // the smallest room
        {1, AsioDriverList::kNameCapacity, longest},
        {1, AsioDriverList::kNameCapacity - 1, std::string(AsioDriverList::kNameCapacity - 5, 'n') + "..."},
        {1, AsioDeviceEntry::kNameLength, longest},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "driver " << c.index << ", room " << c.length);
        EXPECT_EQ(NameInRoom(list, c.index, c.length), c.name);
        EXPECT_EQ(BehindTheRoom(list, c.index, c.length), "########");
    }
    EXPECT_EQ(NameInRoom(list, 0, 3), "<error>") << "no room for the dots";
}

// The device list keeps each driver's name and its display name with the
// channel pair's suffix: the longest name the driver list holds, with every
// suffix, ends in its terminator with nothing behind it, and the fields after
// the names keep their values.
TEST_F(DeviceNameRoom, TheLongestDriverNameKeepsItsPairSuffixesAndTheEntrysOtherFields)
{
    const std::string longest(AsioDriverList::kNameCapacity - 1, 'n');
    AddTestDriver("Octo", 1, {.Inputs = 8, .Outputs = 2}, longest);
    AsioDeviceList list;
    struct NoFormat final : AsioFormatTarget {
        bool IsFormatSet() const override { return true; }
        void SetFormat(std::uint32_t, std::uint16_t, std::uint16_t) override {}
    } port;
    list.EnumerateDevices(port);
    ASSERT_EQ(list.Count(), 4);
    const char* const suffixes[] = {" (1/2)", " (3/4)", " (5/6)", " (7/8)"};
    for (int e = 0; e < 4; ++e) {
        SCOPED_TRACE(e);
        const AsioDeviceEntry& entry = list.Entry(e);
        EXPECT_EQ(std::string(entry.DriverName), longest);
        EXPECT_EQ(std::string(entry.DisplayName), longest + suffixes[e]);
        for (const char* name : {entry.DriverName, entry.DisplayName}) {
            const std::size_t used = std::strlen(name);
            ASSERT_LT(used, std::size_t{AsioDeviceEntry::kNameLength});
            EXPECT_EQ(std::string(name + used, name + AsioDeviceEntry::kNameLength),
                      std::string(AsioDeviceEntry::kNameLength - used, '\0'))
                << "nothing behind the terminator";
        }
        EXPECT_EQ(entry.InputChannels, 8);
        EXPECT_EQ(entry.FirstChannel, 2 * e);
    }
}

// The translation browser's address history file.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/testsupport.h"
#include "vocabulary/core/addresshistory.h"

namespace {

TEST(AddressHistoryTest, NewAddressesComeFirstAndTheListIsBounded)
{
    testsupport::TempFolder temp;
    const CString path = temp.ansi() + "IEAdressData/IEAdress.data";   // folder made when missing
    EXPECT_EQ(AddToAddressHistory(path, "http://a.example/"), std::vector<CString>{"http://a.example/"});
    EXPECT_EQ(AddToAddressHistory(path, "http://b.example/"),
              (std::vector<CString>{"http://b.example/", "http://a.example/"}));
    // Already there: it keeps its place.
    EXPECT_EQ(AddToAddressHistory(path, "http://a.example/"),
              (std::vector<CString>{"http://b.example/", "http://a.example/"}));
    for (int i = 0; i < 60; ++i) {
        CString address;
        address.Format("http://site%d.example/", i);
        AddToAddressHistory(path, address);
    }
    const std::vector<CString> lines = AddToAddressHistory(path, "http://last.example/");
    ASSERT_EQ(lines.size(), 51u);
    EXPECT_EQ(lines.front(), "http://last.example/");
    EXPECT_EQ(lines[1], "http://site59.example/");
    EXPECT_EQ(testsupport::ReadBytes(temp.path() + "IEAdressData/IEAdress.data").substr(0, 22),
              "http://last.example/\r\n");
}

} // namespace

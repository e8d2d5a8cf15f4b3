#include "fileio/file_io.h"
#include "fileio/file_names.h"

#include <gtest/gtest.h>

namespace fileio {
namespace {

TEST(WindowsDeviceName, IsTheDeviceWithAnyCaseExtensionAndTrailingBlanksOrDots)
{
    const struct {
        std::u16string_view name;
        bool device;
    } cases[] = {
        {u"CON", true},          {u"con.orx", true},      {u"Nul.tar.gz", true},  {u"PRN ", true},
        {u"aux. .", true},       {u"COM1", true},         {u"lpt9.orx", true},    {u"COM\u00B9.orx", true},
        {u"LPT\u00B3", true},    {u"CON .orx", true},     {u"conin$", true},      {u"CONOUT$.orx", true},
        {u"CON:stream", true},   {u"COM0", false},        {u"COM10", false},      {u"CONSOLE.orx", false},
        {u"NULL", false},        {u"xCON.orx", false},    {u"family.orx", false}, {u"", false},
        {u"...", false},         {u"COM\u2074", false},   {u".CON", false},       {u"LPT", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
        EXPECT_EQ(isWindowsDeviceName(c.name), c.device);
    }
}

}  // namespace
}  // namespace fileio

#include "platform/StringTable.h"

#include <gtest/gtest.h>

namespace krn310 {
namespace {

TEST(StringTable, EveryEntryFrom101To141HasText)
{
    for (int id = kFirstStringId; id <= kLastStringId; ++id)
        EXPECT_FALSE(LoadStr(id).empty()) << id;
}

TEST(StringTable, NumbersOutsideTheTableGiveEmptyText)
{
    EXPECT_EQ(LoadStr(100), "");
    EXPECT_EQ(LoadStr(142), "");
}

TEST(StringTable, TextsTheOperatorSees)
{
    EXPECT_EQ(LoadStr(IDS_IP_ADDRESS_LABEL), "IP-адрес:");
    EXPECT_EQ(LoadStr(IDS_GRID_CURRENT_STATE), "Текущее состояние:");
    EXPECT_EQ(LoadStr(IDS_NEAR_END_SENSOR), "Датчик близкого конца бумаги");
    EXPECT_EQ(LoadStr(IDS_NODE_SERVICE_INFO), "Служебная информация");
    EXPECT_EQ(LoadStr(IDS_RANGE_0_65535), "Значение должно находиться в пределах от 0 до 65535");
    EXPECT_EQ(LoadStr(IDS_PRINTER_SILENT), "Принтер не отвечает!!!!");
    EXPECT_EQ(LoadStr(IDS_CANNOT_CONNECT), "Невозможно установить соединение!!!!");
    EXPECT_EQ(LoadStr(IDS_CONNECT), "Установить соединение");
    EXPECT_EQ(LoadStr(IDS_DISCONNECT), "Разорвать соединение");
}

} // namespace
} // namespace krn310

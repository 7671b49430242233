#include "exchange/ServiceInfo.h"

#include "platform/StringTable.h"
#include "tests/exchange/ExchangeFixture.h"

namespace krn310::test {
namespace {

struct IdentCase {
    Bytes reply;
    std::string text;
};

class IdentificationTexts : public ::testing::TestWithParam<IdentCase> {};

TEST_P(IdentificationTexts, DropTheHeaderByteAndTheFinalZero)
{
    const Bytes& r = GetParam().reply;
    EXPECT_EQ(IdentificationText(r.data(), static_cast<uint32_t>(r.size())), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, IdentificationTexts,
    ::testing::Values(IdentCase{ToBytes({0x5F, 0x41, 0x42, 0x43, 0x00}), "ABC"},
                      IdentCase{ToBytes({0x5F, 0x00}), ""},
                      IdentCase{ToBytes({0x00}), ""},
                      IdentCase{ToBytes({0x00, 0x31, 0x00}), "1"},
                      IdentCase{ToBytes({0x5F, 0xCA, 0xD0, 0xCD, 0x00}), "КРН"}));

struct StatusCase {
    StatusKind kind;
    uint8_t b;
    std::vector<std::pair<std::string, std::string>> lines;
};

class StatusBits : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusBits, GiveTheirLines)
{
    const StatusLines got = DecodeStatus(GetParam().kind, GetParam().b);
    std::vector<std::pair<std::string, std::string>> lines;
    for (int i = 0; i < got.count; ++i)
        lines.emplace_back(LoadStr(got.lines[i].labelId), LoadStr(got.lines[i].valueId));
    EXPECT_EQ(lines, GetParam().lines) << "byte " << int(GetParam().b);
}

INSTANTIATE_TEST_SUITE_P(Table, StatusBits, ::testing::Values(
    StatusCase{StatusKind::Printer, 0x04, {{"Денежный ящик", "Закрыт"}}},
    StatusCase{StatusKind::Printer, 0x00, {{"Денежный ящик", "Открыт"}}},
    StatusCase{StatusKind::Printer, 0xFB, {{"Денежный ящик", "Открыт"}}},
    StatusCase{StatusKind::Offline, 0x04, {{"Крышка бумажного отсека", "Открыт"}, {"Состояние принтера", "Норма"}}},
    StatusCase{StatusKind::Offline, 0x40, {{"Крышка бумажного отсека", "Закрыт"}, {"Состояние принтера", "Ошибка"}}},
    StatusCase{StatusKind::Offline, 0x44, {{"Крышка бумажного отсека", "Открыт"}, {"Состояние принтера", "Ошибка"}}},
    StatusCase{StatusKind::Paper, 0x08, {{"Датчик близкого конца бумаги", "Скоро конец"}, {"Датчик наличия бумаги", "Норма"}}},
    StatusCase{StatusKind::Paper, 0x04, {{"Датчик близкого конца бумаги", "Скоро конец"}, {"Датчик наличия бумаги", "Норма"}}},
    StatusCase{StatusKind::Paper, 0x20, {{"Датчик близкого конца бумаги", "Норма"}, {"Датчик наличия бумаги", "Бумага отсутствует"}}},
    StatusCase{StatusKind::Paper, 0x40, {{"Датчик близкого конца бумаги", "Норма"}, {"Датчик наличия бумаги", "Бумага отсутствует"}}},
    StatusCase{StatusKind::Paper, 0x12, {{"Датчик близкого конца бумаги", "Норма"}, {"Датчик наличия бумаги", "Норма"}}},
    StatusCase{StatusKind::Paper, 0x6C, {{"Датчик близкого конца бумаги", "Скоро конец"}, {"Датчик наличия бумаги", "Бумага отсутствует"}}}));

TEST_F(ExchangeTest, StatusBytesLandInRows8To12)
{
    printer.status1 = 0x04;
    printer.status2 = 0x04;
    printer.status4 = 0x08;
    sequencer.RunScript(scripts.ReadInfoScript);
    AnswerAll();
    EXPECT_EQ(host.Cell(1, 8), "Закрыт");
    EXPECT_EQ(host.Cell(0, 9), "Крышка бумажного отсека");
    EXPECT_EQ(host.Cell(1, 9), "Открыт");
    EXPECT_EQ(host.Cell(1, 10), "Норма");
    EXPECT_EQ(host.Cell(1, 11), "Скоро конец");
    EXPECT_EQ(host.Cell(1, 12), "Норма");
}

} // namespace
} // namespace krn310::test

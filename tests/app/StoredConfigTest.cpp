#include "FormFixture.h"

#include <QFile>

#include <fstream>

namespace krn310::test {
namespace {

// The window created on a configuration file the test writes first.
class StoredConfigTest : public FormFixture {
protected:
    void SetUp() override {}

    void WriteConfig(const std::string& text)
    {
        std::ofstream(ConfigFile(), std::ios::binary) << text;
    }

    // The lines of the file after the section header, without line ends.
    std::vector<std::string> ConfigLines() const
    {
        QFile file(QString::fromStdString(ConfigFile().string()));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        std::vector<std::string> lines;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QByteArray trimmed = line.trimmed();
            if (!trimmed.isEmpty())
                lines.push_back(trimmed.toStdString());
        }
        return lines;
    }

    // The value of a key of the file; the keys stand where the file had them.
    std::string ConfigValue(const std::string& key) const
    {
        for (const std::string& line : ConfigLines()) {
            if (line.rfind(key + "=", 0) == 0)
                return line.substr(key.size() + 1);
        }
        ADD_FAILURE() << key << " missing";
        return {};
    }

    // The layout ComboBox1Change gives the connection view.
    void ExpectLayout(bool ethernet) const
    {
        const ConnectionView& c = form->Connection;
        EXPECT_EQ(c.Label2->text(), ethernet ? QStringLiteral("IP-адрес:") : QStringLiteral("Порт:"));
        EXPECT_EQ(c.Label3->text(), ethernet ? QStringLiteral("Порт:") : QStringLiteral("Скорость:"));
        for (QWidget* w : std::initializer_list<QWidget*>{c.Label4, c.Label5, c.Label6, c.ComboBox2, c.ComboBox3,
                                                          c.ComboBox4, c.ComboBox5, c.ComboBox6})
            EXPECT_EQ(w->isVisible(), !ethernet) << w->objectName().toStdString();
        for (QWidget* w : std::initializer_list<QWidget*>{c.Edit8, c.Edit9, c.Label39, c.Label40})
            EXPECT_EQ(w->isVisible(), ethernet) << w->objectName().toStdString();
        if (!ethernet)
            return;
        EXPECT_EQ(c.Edit8->pos(), c.ComboBox2->pos());
        EXPECT_EQ(c.Edit9->pos(), c.ComboBox3->pos());
        EXPECT_EQ(c.Label39->pos(), QPoint(151, c.ComboBox2->y()));
        EXPECT_EQ(c.Label40->pos(), QPoint(151, c.ComboBox3->y()));
    }
};

TEST_F(StoredConfigTest, FreshStartShowsTheDesignDefaults)
{
    CreateForm();
    const ConnectionView& c = form->Connection;
    EXPECT_EQ(ShownView(), c.GroupBox1);
    EXPECT_FALSE(form->Apply.Panel2->isVisible());
    for (int n = 1; n <= 7; ++n)
        EXPECT_FALSE(form->ViewFor(n)->isEnabled()) << n;
    EXPECT_EQ(c.ComboBox1->Text(), QStringLiteral("RS-232"));
    EXPECT_EQ(c.ComboBox2->ItemIndex(), -1);
    EXPECT_EQ(c.ComboBox3->Text(), QStringLiteral("115200"));
    EXPECT_EQ(c.Edit8->text(), QStringLiteral("192.168.0.100"));
    EXPECT_EQ(c.Edit9->text(), QStringLiteral("62002"));
    ExpectLayout(false);
    // Reading creates no file.
    EXPECT_FALSE(std::filesystem::exists(ConfigFile()));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(StoredConfigTest, StoredValuesComeIntoTheConnectionViewUnchanged)
{
    WriteConfig("[CONFIG]\nINTERFACE_TYPE=1\nCOM_PORT=ttyUSB9\nBAUD_RATE=9600\n"
                "ETHER_IP=10.0.0.42\nETHER_PORT=6200212345\n");
    CreateForm();
    const ConnectionView& c = form->Connection;
    EXPECT_EQ(c.ComboBox1->ItemIndex(), 1);
    EXPECT_EQ(c.ComboBox3->Text(), QStringLiteral("9600"));
    EXPECT_EQ(c.Edit8->text(), QStringLiteral("10.0.0.42"));
    EXPECT_EQ(c.Edit9->text(), QStringLiteral("6200212345"));
    ExpectLayout(true);
}

TEST_F(StoredConfigTest, StoredTextsThatAreNoAddressOrNumberStayAsTheyAre)
{
    WriteConfig("[CONFIG]\nINTERFACE_TYPE=1\nETHER_IP=printer.local\nETHER_PORT=80a\n");
    CreateForm();
    EXPECT_EQ(form->Connection.Edit8->text(), QStringLiteral("printer.local"));
    EXPECT_EQ(form->Connection.Edit9->text(), QStringLiteral("80a"));
    EXPECT_TRUE(form->close());
    EXPECT_EQ(ConfigValue("ETHER_IP"), "printer.local");
    EXPECT_EQ(ConfigValue("ETHER_PORT"), "80a");
}

TEST_F(StoredConfigTest, UnknownInterfaceLeavesTheSelectorEmptyAndTheHeaderIdle)
{
    WriteConfig("[CONFIG]\nINTERFACE_TYPE=7\n");
    CreateForm();
    EXPECT_EQ(form->Connection.ComboBox1->ItemIndex(), -1);
    ExpectLayout(false);

    ClickHeaderSection();
    form->ReconnectToggle();
    THeaderControl* header = form->Navigation.HeaderControl1;
    EXPECT_TRUE(header->isVisible());
    EXPECT_EQ(header->SectionText(0), QStringLiteral("Установить Соединение"));
    EXPECT_TRUE(spooler.ListCalls.empty());
    EXPECT_EQ(form->ZComm1.Connected(), 0);
    EXPECT_EQ(form->ZSocket1.State(), socket_closed);
    EXPECT_TRUE(boxes.shown.empty());

    EXPECT_TRUE(form->close());
    EXPECT_EQ(ConfigValue("INTERFACE_TYPE"), "-1");
}

TEST_F(StoredConfigTest, ChoosingAnInterfaceSwitchesTheLayoutBothWays)
{
    CreateForm();
    ChooseInterface(kInterfaceEthernet);
    ExpectLayout(true);
    ChooseInterface(kInterfaceRs232);
    ExpectLayout(false);
    EXPECT_EQ(form->ZComm1.Connected(), 0);
    EXPECT_NE(form->ZSocket1.State(), kSocketConnected);
}

TEST_F(StoredConfigTest, ClosingWritesTheFiveValuesInOrderAndTheNextStartReadsThem)
{
    CreateForm();
    ConnectionView& c = form->Connection;
    c.ComboBox2->AddItem(QStringLiteral("ttyUSB3"));
    c.ComboBox2->SetItemIndex(0);
    c.ComboBox3->SetItemIndex(c.ComboBox3->Items().indexOf(QStringLiteral("19200")));
    ChooseInterface(kInterfaceEthernet);
    c.Edit8->setText(QStringLiteral("10.20.30.40"));
    c.Edit9->setText(QStringLiteral("1234"));
    EXPECT_TRUE(form->close());

    EXPECT_EQ(ConfigLines(), (std::vector<std::string>{"[CONFIG]", "INTERFACE_TYPE=1", "COM_PORT=ttyUSB3",
                                                        "BAUD_RATE=19200", "ETHER_IP=10.20.30.40",
                                                        "ETHER_PORT=1234"}));

    CreateForm();
    EXPECT_EQ(form->Connection.ComboBox1->ItemIndex(), 1);
    EXPECT_EQ(form->Connection.ComboBox3->Text(), QStringLiteral("19200"));
    EXPECT_EQ(form->Connection.Edit8->text(), QStringLiteral("10.20.30.40"));
    EXPECT_EQ(form->Connection.Edit9->text(), QStringLiteral("1234"));
    ExpectLayout(true);
}

} // namespace
} // namespace krn310::test

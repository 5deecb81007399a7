// The configuration panel: "Configurar" shows it, "X" hides it keeping the
// typed texts for the run, "Guardar" writes both settings files, backs up at
// once and hides it; the files' exact bytes and their reading at start-up.
#include "BackupFixture.h"

#include "platform/runtime/TextFile.h"

namespace arc::test {
namespace {

using ConfigPanel = DriveTest;

bool Visible(Form1& form) { return IsWindowVisible(form.Control(Id::Frame1)) != FALSE; }

// The mouse moving over a child control: the child passes WM_SETCURSOR up to the window.
void HoverOver(HWND over) { SendMessageW(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)); }

TEST_F(ConfigPanel, ConfigurarShowsItAndXHidesItKeepingTheTextsForTheRun) {
    WriteBytes(program + L"\\unidad.inf", "R\r\n");
    WriteBytes(program + L"\\entidad.inf", "Entidad Vieja\r\n");
    {
        auto form = OpenForm(host);
        EXPECT_FALSE(Visible(*form));
        EXPECT_EQ(form->Text(Id::Text4), L"R");
        EXPECT_EQ(form->Text(Id::Text5), L"Entidad Vieja");
        ClickLabel(form->Control(Id::Label9));
        EXPECT_TRUE(Visible(*form));
        ClickLabel(form->Control(Id::Label9));  // again: nothing changes
        EXPECT_TRUE(Visible(*form));

        SetBoxText(form->Control(Id::Text4), L"Q");
        SetBoxText(form->Control(Id::Text5), L"Entidad Nueva");
        SetFocus(form->Control(Id::Text5));
        Click(form->Control(Id::Command5));
        EXPECT_FALSE(Visible(*form));
        EXPECT_EQ(GetFocus(), form->Control(Id::Text1));  // the focus leaves the hidden panel
        EXPECT_EQ(form->Text(Id::Text4), L"Q");
        EXPECT_EQ(form->Text(Id::Text5), L"Entidad Nueva");
        EXPECT_TRUE(host.started.empty());
        ClickLabel(form->Control(Id::Label9));
        EXPECT_EQ(form->Text(Id::Text4), L"Q");  // reopening shows the edits

        // The close's backup uses the edited drive, not the saved one.
        CloseWindow(*form);
        EXPECT_EQ(host.started, std::vector<std::wstring>{batchPath});
    }
    EXPECT_EQ(ReadBytes(program + L"\\unidad.inf"), "R\r\n");
    EXPECT_EQ(ReadBytes(program + L"\\entidad.inf"), "Entidad Vieja\r\n");
    auto again = OpenForm(host);
    EXPECT_EQ(again->Text(Id::Text4), L"R");
    EXPECT_EQ(again->Text(Id::Text5), L"Entidad Vieja");
}

TEST_F(ConfigPanel, ConfigurarTurnsDarkRedUnderTheMouseAndSilverOverTheBackground) {
    auto form = OpenForm(host);
    const COLORREF silver = RGB(192, 192, 192), darkRed = RGB(192, 0, 0);
    EXPECT_EQ(form->ForeColour(Id::Label9), silver);
    HoverOver(form->Control(Id::Label9));
    EXPECT_EQ(form->ForeColour(Id::Label9), darkRed);
    // Straight onto another control or the panel: it stays dark red.
    HoverOver(form->Control(Id::Command2));
    HoverOver(form->Control(Id::Frame1));
    EXPECT_EQ(form->ForeColour(Id::Label9), darkRed);
    HoverOver(form->Hwnd());
    EXPECT_EQ(form->ForeColour(Id::Label9), silver);
}

TEST_F(ConfigPanel, GuardarWritesBothFilesWholeThenBacksUpAndHidesThePanel) {
    WriteBytes(program + L"\\unidad.inf", "a much longer old drive text\r\nand a second line\r\n");
    WriteBytes(program + L"\\entidad.inf", "Old name that was longer than the new one\r\n");
    auto form = OpenForm(host);
    ClickLabel(form->Control(Id::Label9));
    SetBoxText(form->Control(Id::Text4), L"Q");
    SetBoxText(form->Control(Id::Text5), L"Junta Vecinal 7");  // 15 characters
    Click(form->Control(Id::Command6));

    EXPECT_EQ(ReadBytes(program + L"\\unidad.inf"), "Q\r\n");
    EXPECT_EQ(ReadBytes(program + L"\\entidad.inf"), "Junta Vecinal 7\r\n");
    EXPECT_EQ(ReadBytes(program + L"\\entidad.inf").size(), 17u);
    // Both files were complete before the backup started.
    ASSERT_EQ(host.started, std::vector<std::wstring>{batchPath});
    EXPECT_EQ(host.settingsAtStart[0], "Q\r\n|Junta Vecinal 7\r\n");
    EXPECT_FALSE(Visible(*form));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(IsWindow(form->Hwnd()));
}

TEST_F(ConfigPanel, SavedTextsComeBackAfterARestartByteForByte) {
    const struct {
        const wchar_t* drive;
        const wchar_t* name;
        std::string unidad, entidad;
    } cases[] = {
        {L"E", L"Bramevol", "E\r\n", "Bramevol\r\n"},
        {L"Q", L"", "Q\r\n", "\r\n"},
        // One byte per accented letter in the ANSI code page.
        {L"E:\\", L"Peña Ángela é", "E:\\\r\n", "Pe\xF1" "a \xC1ngela \xE9\r\n"},
        {L"", L"  con blancos  ", "\r\n", "  con blancos  \r\n"},
    };
    for (const auto& c : cases) {
        {
            FastHost h{L""};
            h.installFolder = install;
            h.programFolder = program;
            auto form = OpenForm(h);
            ClickLabel(form->Control(Id::Label9));
            SetBoxText(form->Control(Id::Text4), c.drive);
            SetBoxText(form->Control(Id::Text5), c.name);
            Click(form->Control(Id::Command6));
            EXPECT_FALSE(Visible(*form)) << c.name;
        }
        EXPECT_EQ(ReadBytes(program + L"\\unidad.inf"), c.unidad) << c.name;
        EXPECT_EQ(ReadBytes(program + L"\\entidad.inf"), c.entidad) << c.name;
        FastHost h{L""};
        h.installFolder = install;
        h.programFolder = program;
        auto restarted = OpenForm(h);
        EXPECT_EQ(restarted->Text(Id::Text4), c.drive);
        EXPECT_EQ(restarted->Text(Id::Text5), c.name);
    }
}

TEST_F(ConfigPanel, GuardarIntoAnUnwritableFolderStillBacksUpAndCloses) {
    host.programFolder = drive + L":\\NO_SUCH_FOLDER\\PROG";
    auto form = OpenForm(host);
    EXPECT_EQ(form->Text(Id::Text4), L"");
    ASSERT_EQ(host.messages.size(), 1u);  // the start says that no drive is set
    ClickLabel(form->Control(Id::Label9));
    SetBoxText(form->Control(Id::Text4), L"Q");
    Click(form->Control(Id::Command6));
    EXPECT_FALSE(FileExists(host.programFolder + L"\\unidad.inf"));
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.started, std::vector<std::wstring>{batchPath});
    EXPECT_FALSE(Visible(*form));
}

}  // namespace
}  // namespace arc::test

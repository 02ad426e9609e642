// The input check before saving and before the connection test.

#include "EditorWindow.h"

#include <QComboBox>

namespace {

using EditorValidationTest = EditorTest;

struct TField {
    const char* Name;
    const char* Text;
};

struct TValidationCase {
    const char* What;
    const char* Format; // empty: none chosen
    std::vector<TField> Fields;
    const char* Message; // empty: the check passes
};

const TValidationCase ValidationCases[] = {
    {"start without argument", "", {}, "Kein Datenbankserver angegeben"},
    {"access without file", "MSACCESS", {}, "Keine Datenbankdatei angegeben"},
    {"sqlite without file", "SQLITE", {{"edServer", "srv"}, {"edDatabase", "k"}}, "Keine Datenbankdatei angegeben"},
    {"mssql without server", "MSSQL", {{"edDatabase", "k"}}, "Kein Datenbankserver angegeben"},
    {"mariadb without database", "MARIADB", {{"edServer", "srv"}}, "Keine Datenbank angegeben"},
    {"mysql without anything", "MYSQL", {}, "Kein Datenbankserver angegeben"},
    {"firebird without database", "FIREBIRD", {}, "Keine Datenbank angegeben"},
    {"firebird without server", "FIREBIRD", {{"edDatabase", "/k.fdb"}}, ""},
    {"mssql complete", "MSSQL", {{"edServer", "srv"}, {"edDatabase", "k"}}, ""},
    {"access with file", "MSACCESS", {{"edDBFile", "C:\\k.mdb"}}, ""},
};

void Prepare(TEditorWindow& W, const TValidationCase& C)
{
    if (*C.Format)
        W.Choose(QLatin1String(C.Format));
    for (const TField& field : C.Fields) {
        // Fields of the other panel are filled while it is shown: they must not count.
        const bool filePanelField = QLatin1String(field.Name) == QLatin1String("edDBFile");
        const QString format = W.Formats()->currentText();
        if (filePanelField != (format == QLatin1String("MSACCESS") || format == QLatin1String("SQLITE")))
            W.Choose(filePanelField ? QStringLiteral("SQLITE") : QStringLiteral("MSSQL"));
        W.Type(QLatin1String(field.Name), QString::fromUtf8(field.Text));
    }
    if (*C.Format)
        W.Choose(QLatin1String(C.Format));
}

} // namespace

TEST_F(EditorValidationTest, SaveChecksTheInputFirst)
{
    for (const TValidationCase& c : ValidationCases) {
        TDialogs::ResetTest();
        TEditorWindow w;
        Prepare(w, c);
        if (*c.Message)
            TDialogs::SetNextAnswers({mrOk});
        else
            TDialogs::SetNextFileNames({QString()});
        w.Click(QStringLiteral("Button1"));

        ASSERT_EQ(TDialogs::Log().size(), 1) << c.What;
        const TShownDialog& shown = TDialogs::Log().first();
        if (*c.Message) {
            EXPECT_EQ(shown.Kind, dkMessage) << c.What;
            EXPECT_EQ(shown.Text, QString::fromUtf8(c.Message)) << c.What;
            EXPECT_EQ(shown.Type, mtError) << c.What;
            EXPECT_EQ(shown.Buttons, TMsgDlgButtons(mbOK)) << c.What;
        } else {
            EXPECT_EQ(shown.Kind, dkSaveFile) << c.What;
        }
        EXPECT_TRUE(shown.Scripted) << c.What;
    }
}

TEST_F(EditorValidationTest, ConnectionTestChecksTheInputFirst)
{
    for (const TValidationCase& c : ValidationCases) {
        if (!*c.Message)
            continue;
        TDialogs::ResetTest();
        TEditorWindow w;
        Prepare(w, c);
        TDialogs::SetNextAnswers({mrOk});
        w.Click(QStringLiteral("btnConnect"));
        // One box only: the check's; no connection is tried.
        ASSERT_EQ(TDialogs::Log().size(), 1) << c.What;
        EXPECT_EQ(TDialogs::Log().first().Text, QString::fromUtf8(c.Message)) << c.What;
        EXPECT_EQ(TDialogs::Log().first().Type, mtError) << c.What;
    }
}

// The window under Qt's offscreen platform: its controls as named, sized and ordered, and a press through
// the dialogs the test supplies showing what the command line prints.
#include "tallymill/FrmMain.h"
#include "tallymill/TallyCommandLine.h"
#include "tests/tallymill/TallyTestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <sstream>

namespace {

class Tally_Window_Test : public TTally_Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "tallymill_window_tests";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }
    template <typename T> T* Control(const TForm1& form, const char* name) {
        T* control = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
};

TEST_F(Tally_Window_Test, Controls_Named_Sized_And_Ordered) {
    TTally_Session session(Messages);
    TScripted_Chooser chooser;
    TForm1 form(session, chooser);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Murkhollow Tallymill"));
    EXPECT_EQ(form.size(), QSize(696, 480));

    QPlainTextEdit* memo = Control<QPlainTextEdit>(form, "Memo");
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->toPlainText(), QString());
    EXPECT_EQ(memo->document()->blockCount(), 1);
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(memo->font().family(), QStringLiteral("Courier New"));
    EXPECT_EQ(memo->font().styleHint(), QFont::Monospace);
    EXPECT_EQ(memo->font().pixelSize(), 11);

    QWidget* panel = Control<QWidget>(form, "Panel1");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->minimumWidth(), 188);
    EXPECT_EQ(panel->maximumWidth(), 188);

    // Labels, edits and buttons by name, with their texts ("&&" shows one ampersand, "&" marks the key).
    const std::pair<const char*, const char*> texts[] = {
        {"Label1", "Monster Class File:"},
        {"lbl_monst_file", "(None)"},
        {"Label2", "Item Class File:"},
        {"lbl_item_file", "(None)"},
        {"Label4", "Levels Generated:"},
        {"edt_lev_from", "1"},
        {"Label5", "to"},
        {"edt_lev_to", "20"},
        {"Label3", "Difficulty:"},
        {"btn_monst", "Load && Generate &Monster File"},
        {"btn_item", "Load && Generate &Item File"},
        {"btn_save", "&Save Text File"},
        {"btn_clear", "&Clear"},
    };
    for (const auto& [name, text] : texts) {
        QWidget* control = Control<QWidget>(form, name);
        if (control) {
            EXPECT_EQ(control->property("text").toString(), QString::fromUtf8(text)) << name;
        }
    }
    for (const char* name : {"lbl_monst_file", "lbl_item_file"}) {
        QLabel* label = Control<QLabel>(form, name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->minimumSize(), QSize(169, 49));
        EXPECT_EQ(label->maximumSize(), QSize(169, 49));
        EXPECT_TRUE(label->wordWrap());
    }
    for (const char* name : {"edt_lev_from", "edt_lev_to"})
        EXPECT_EQ(Control<QLineEdit>(form, name)->validator(), nullptr);
    QComboBox* difficulty = Control<QComboBox>(form, "cmb_diff");
    ASSERT_NE(difficulty, nullptr);
    EXPECT_FALSE(difficulty->isEditable());
    QStringList items;
    for (int i = 0; i < difficulty->count(); ++i) items << difficulty->itemText(i);
    EXPECT_EQ(items, QStringList({"Easy", "Average", "Difficult", "Hard"}));
    EXPECT_EQ(difficulty->currentText(), QStringLiteral("Average"));

    // Tab from the first edit visits the panel's controls in this order.
    const QStringList order = {"edt_lev_from", "edt_lev_to", "cmb_diff", "btn_monst",
                               "btn_item",     "btn_save",   "btn_clear"};
    QStringList visited;
    QWidget* start = Control<QWidget>(form, "edt_lev_from");
    ASSERT_NE(start, nullptr);
    QWidget* w = start;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && order.contains(w->objectName())) visited << w->objectName();
        w = w->nextInFocusChain();
    } while (w != start);
    EXPECT_EQ(visited, order);

    form.showMaximized();
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
}

TEST_F(Tally_Window_Test, A_Press_Shows_What_The_Command_Line_Prints) {
    TTally_Session session(Messages);
    TScripted_Chooser chooser;
    TForm1 form(session, chooser);
    QLineEdit* to = Control<QLineEdit>(form, "edt_lev_to");
    QPushButton* item_button = Control<QPushButton>(form, "btn_item");
    ASSERT_TRUE(to && item_button);

    // A bad level text: the critical message box, no dialog.
    to->setText(QStringLiteral("abc"));
    QString box_text;
    QMessageBox::Icon box_icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box_text = box->text();
            box_icon = box->icon();
            box->done(0);
        }
    });
    item_button->click();
    EXPECT_EQ(box_text, QStringLiteral("'abc' is not a valid integer value"));
    EXPECT_EQ(box_icon, QMessageBox::Critical);
    EXPECT_EQ(chooser.Class_Asks, 0);
    // A range of more than 1000 levels: the same box, before the dialog.
    to->setText(QStringLiteral("1001"));
    box_text.clear();
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box_text = box->text();
            box_icon = box->icon();
            box->done(0);
        }
    });
    item_button->click();
    EXPECT_EQ(box_text,
              QStringLiteral("Levels 1 to 1001 are 1001 levels; at most 1000 can be generated at once"));
    EXPECT_EQ(box_icon, QMessageBox::Critical);
    EXPECT_EQ(chooser.Class_Asks, 0);

    to->setText(QStringLiteral("3"));
    chooser.Class_File = Tally_Data("Items.txt");
    item_button->click();
    const QString shown = Control<QPlainTextEdit>(form, "Memo")->toPlainText();
    // The label keeps the file name in view; the whole path is its tooltip.
    QLabel* label = Control<QLabel>(form, "lbl_item_file");
    EXPECT_EQ(label->toolTip().toStdString(), Tally_Data("Items.txt"));
    EXPECT_TRUE(label->text().endsWith(QStringLiteral("/Items.txt")) ||
                label->text().endsWith(QStringLiteral("\nItems.txt")))
        << label->text().toStdString();
    for (const QString& line : label->text().split(QLatin1Char('\n')))
        EXPECT_LE(label->fontMetrics().horizontalAdvance(line), label->contentsRect().width())
            << line.toStdString();

    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(Tallymill_Command_Line({"--game-path", Folder.Path(), "--from", "1", "--to", "3", "--items",
                                      Tally_Data("Items.txt")},
                                     out, err),
              Exit_Success)
        << err.str();
    EXPECT_EQ(shown.toStdString() + "\n", out.str());
}

TEST_F(Tally_Window_Test, File_Labels_Shorten_The_Folder_And_Keep_The_Name) {
    QLabel probe;
    const QFontMetrics metrics = probe.fontMetrics();
    const int width = 169;
    const QString ellipsis(QChar(0x2026));
    const QString folder =
        QStringLiteral("/home/designer/murkhollow/build/normal/runtime/Modules/Barrowdeep/Tiles/");
    struct TCase {
        QString Path;
        bool Whole;      // shown as it is
        bool Name_Whole; // the file name line holds the whole name
    };
    const TCase cases[] = {
        {QStringLiteral("a/b.txt"), true, true},
        {QStringLiteral("Items.txt"), true, true},
        {folder + QStringLiteral("Barrow_MonsterClasses.txt"), false, true},
        {folder + QStringLiteral("Упыри.txt"), false, true},
        // A name wider than the label alone is shortened in its middle, its start and end kept.
        {folder + QStringLiteral("A_Very_Long_Monster_Class_File_Name_For_The_Lower_Barrow_Levels.txt"),
         false, false},
    };
    for (const TCase& c : cases) {
        const QString text = File_Label_Text(c.Path, metrics, width);
        SCOPED_TRACE(text.toStdString());
        if (c.Whole) {
            EXPECT_EQ(text, c.Path);
            continue;
        }
        const QStringList lines = text.split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 2);
        for (const QString& line : lines) EXPECT_LE(metrics.horizontalAdvance(line), width);
        // The folder line keeps the folders nearest the file.
        EXPECT_TRUE(lines[0].startsWith(ellipsis));
        EXPECT_TRUE(lines[0].endsWith(QStringLiteral("/Tiles/")));
        const QString name = c.Path.mid(c.Path.lastIndexOf(QLatin1Char('/')) + 1);
        if (c.Name_Whole) {
            EXPECT_EQ(lines[1], name);
        } else {
            EXPECT_TRUE(lines[1].contains(ellipsis));
            EXPECT_TRUE(lines[1].startsWith(QStringLiteral("A_Very")));
            EXPECT_TRUE(lines[1].endsWith(QStringLiteral(".txt")));
        }
    }
}

} // namespace

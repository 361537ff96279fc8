// The tool's window: the report on the left, the side panel with the file labels, the level range, the
// difficulty and the four buttons on the right. Every button hands its work to the TTally_Session; the
// window only mirrors the session's report and labels.
#pragma once

#include "tallymill/TallySession.h"

#include <QMainWindow>

#include <optional>
#include <string>

class QComboBox;
class QFontMetrics;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// The text a file label shows for a path in a label width pixels wide: the path as it is when it fits on
// one line, else the folder part shortened at its front on one line and the file name whole on the next
// (shortened in its middle only when even the name alone is wider than the label).
QString File_Label_Text(const QString& path, const QFontMetrics& metrics, int width);

// The real dialogs: "Data Text File (*.txt *.TXT)" with the default suffix "txt" for the class files, no
// filter for the saved report.
class TQt_File_Chooser : public TFile_Chooser {
public:
    explicit TQt_File_Chooser(QWidget* parent = nullptr) : Parent_(parent) {}
    void Set_Parent(QWidget* parent) { Parent_ = parent; }
    std::optional<std::string> Choose_Class_File(const std::string& initial_folder) override;
    std::optional<std::string> Choose_Save_File(const std::string& initial_folder) override;

private:
    QWidget* Parent_;
};

class TForm1 : public QMainWindow {
public:
    TForm1(TTally_Session& session, TFile_Chooser& chooser, QWidget* parent = nullptr);

    void btn_monstClick();
    void btn_itemClick();
    void btn_saveClick();
    void btn_clearClick();

private:
    void Create_Controls();
    void Set_Tab_Order();
    void Show_Press_Result(TPress_Result result);
    // The user may have typed into the report: the session takes that text before a button works on it.
    void Take_Edited_Report();
    void Show_Session();
    // The label shows the file name; the whole path is its tooltip.
    static void Show_File_Label(QLabel* label, const std::string& path);

    TTally_Session& Session_;
    TFile_Chooser& Chooser_;

    QPlainTextEdit* Memo = nullptr;
    QLabel* lbl_monst_file = nullptr;
    QLabel* lbl_item_file = nullptr;
    QLineEdit* edt_lev_from = nullptr;
    QLineEdit* edt_lev_to = nullptr;
    QComboBox* cmb_diff = nullptr;
    QPushButton* btn_monst = nullptr;
    QPushButton* btn_item = nullptr;
    QPushButton* btn_save = nullptr;
    QPushButton* btn_clear = nullptr;
};

// The whole windowed program: the application, a session whose messages go to message boxes, the real
// dialogs and the form shown maximized; returns when the window closes. The program folder must be set.
int Run_Tallymill_Window(int& argc, char** argv);

#include "tallymill/FrmMain.h"

#include "core/SaveStream.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTextCursor>
#include <QVBoxLayout>

#include <iterator>
#include <memory>

namespace {

const char* const Window_Caption = "Murkhollow Tallymill";

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* File_Label(const char* name) {
    QLabel* label = Named(new QLabel(QStringLiteral("(None)")), name);
    label->setFixedSize(169, 49);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

std::optional<std::string> Run_Dialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

// Messages of the session (the failed save) as message boxes over the window.
class TQt_Message_Sink : public TMessage_Sink {
public:
    void Set_Parent(QWidget* parent) { Parent_ = parent; }
    void Show_Message(const std::string& caption, const std::string& text) override {
        QMessageBox::warning(Parent_, Q(caption), Q(text));
    }
    void Show_Error_List(const TString_List& list, const std::string& heading,
                         const std::string& file_name) override {
        QStringList lines;
        for (const std::string& line : list) lines << Q(line);
        QMessageBox::warning(Parent_, Q(heading + file_name), lines.join(QLatin1Char('\n')));
    }

private:
    QWidget* Parent_ = nullptr;
};

} // namespace

QString File_Label_Text(const QString& path, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(path) <= width) return path;
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = path.left(cut + 1);
    const QString name = path.mid(cut + 1);
    const QString name_line =
        metrics.horizontalAdvance(name) <= width ? name : metrics.elidedText(name, Qt::ElideMiddle, width);
    if (folder.isEmpty()) return name_line;
    // The end of the folder, nearest the file, says most about where it is.
    return metrics.elidedText(folder, Qt::ElideLeft, width) + QLatin1Char('\n') + name_line;
}

std::optional<std::string> TQt_File_Chooser::Choose_Class_File(const std::string& initial_folder) {
    QFileDialog dialog(Parent_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("Data Text File (*.txt *.TXT)"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setDirectory(Q(initial_folder));
    return Run_Dialog(dialog);
}

std::optional<std::string> TQt_File_Chooser::Choose_Save_File(const std::string& initial_folder) {
    // No filter and no default suffix: the report is saved under the name exactly as typed.
    QFileDialog dialog(Parent_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(Q(initial_folder));
    return Run_Dialog(dialog);
}

TForm1::TForm1(TTally_Session& session, TFile_Chooser& chooser, QWidget* parent)
    : QMainWindow(parent), Session_(session), Chooser_(chooser) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(Window_Caption));
    resize(696, 480);
    Create_Controls();
    Set_Tab_Order();
    Show_Session();
}

void TForm1::Create_Controls() {
    QWidget* client = new QWidget(this);
    QHBoxLayout* client_layout = new QHBoxLayout(client);
    client_layout->setContentsMargins(0, 0, 0, 0);
    client_layout->setSpacing(0);
    setCentralWidget(client);

    Memo = Named(new QPlainTextEdit, "Memo");
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The columns line up only in a fixed-pitch face; the hint finds one where Courier New is missing.
    QFont face(QStringLiteral("Courier New"));
    face.setStyleHint(QFont::Monospace);
    face.setFixedPitch(true);
    face.setPixelSize(11);
    Memo->setFont(face);
    client_layout->addWidget(Memo, 1);

    QWidget* side_panel = Named(new QWidget, "Panel1");
    side_panel->setFixedWidth(188);
    client_layout->addWidget(side_panel);
    QVBoxLayout* panel = new QVBoxLayout(side_panel);
    panel->setContentsMargins(4, 8, 4, 8);

    QLabel* monster_caption = Named(new QLabel(QStringLiteral("Monster Class File:")), "Label1");
    lbl_monst_file = File_Label("lbl_monst_file");
    QLabel* item_caption = Named(new QLabel(QStringLiteral("Item Class File:")), "Label2");
    lbl_item_file = File_Label("lbl_item_file");
    QLabel* levels_caption = Named(new QLabel(QStringLiteral("Levels Generated:")), "Label4");
    // No validator: any text is accepted here and checked when a button is pressed.
    edt_lev_from = Named(new QLineEdit(QStringLiteral("1")), "edt_lev_from");
    QLabel* to_caption = Named(new QLabel(QStringLiteral("to")), "Label5");
    edt_lev_to = Named(new QLineEdit(QStringLiteral("20")), "edt_lev_to");
    QLabel* difficulty_caption = Named(new QLabel(QStringLiteral("Difficulty:")), "Label3");
    cmb_diff = Named(new QComboBox, "cmb_diff");
    cmb_diff->setEditable(false);
    for (const std::string& name : Difficulty_Names()) cmb_diff->addItem(Q(name));
    cmb_diff->setCurrentIndex(Average_Difficulty_Index);
    btn_monst = Named(new QPushButton(QStringLiteral("Load && Generate &Monster File")), "btn_monst");
    btn_item = Named(new QPushButton(QStringLiteral("Load && Generate &Item File")), "btn_item");
    btn_save = Named(new QPushButton(QStringLiteral("&Save Text File")), "btn_save");
    btn_clear = Named(new QPushButton(QStringLiteral("&Clear")), "btn_clear");

    for (QWidget* w : {static_cast<QWidget*>(monster_caption), static_cast<QWidget*>(lbl_monst_file),
                       static_cast<QWidget*>(item_caption), static_cast<QWidget*>(lbl_item_file),
                       static_cast<QWidget*>(levels_caption)})
        panel->addWidget(w);
    QHBoxLayout* levels = new QHBoxLayout;
    levels->addWidget(edt_lev_from);
    levels->addWidget(to_caption);
    levels->addWidget(edt_lev_to);
    panel->addLayout(levels);
    for (QWidget* w : {static_cast<QWidget*>(difficulty_caption), static_cast<QWidget*>(cmb_diff),
                       static_cast<QWidget*>(btn_monst), static_cast<QWidget*>(btn_item),
                       static_cast<QWidget*>(btn_save), static_cast<QWidget*>(btn_clear)})
        panel->addWidget(w);
    panel->addStretch(1);

    connect(btn_monst, &QPushButton::clicked, this, [this] { btn_monstClick(); });
    connect(btn_item, &QPushButton::clicked, this, [this] { btn_itemClick(); });
    connect(btn_save, &QPushButton::clicked, this, [this] { btn_saveClick(); });
    connect(btn_clear, &QPushButton::clicked, this, [this] { btn_clearClick(); });
}

void TForm1::Set_Tab_Order() {
    QWidget* const order[] = {edt_lev_from, edt_lev_to, cmb_diff, btn_monst, btn_item, btn_save, btn_clear};
    for (size_t i = 0; i + 1 < std::size(order); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

void TForm1::btn_monstClick() {
    Take_Edited_Report();
    Show_Press_Result(Session_.Press_Monster(edt_lev_from->text().toStdString(),
                                             edt_lev_to->text().toStdString(), cmb_diff->currentIndex(),
                                             Chooser_));
}

void TForm1::btn_itemClick() {
    Take_Edited_Report();
    Show_Press_Result(Session_.Press_Item(edt_lev_from->text().toStdString(),
                                          edt_lev_to->text().toStdString(), cmb_diff->currentIndex(),
                                          Chooser_));
}

void TForm1::btn_saveClick() {
    Take_Edited_Report();
    Session_.Press_Save(Chooser_);
}

void TForm1::btn_clearClick() {
    Session_.Press_Clear();
    Show_Session();
}

void TForm1::Show_Press_Result(TPress_Result result) {
    switch (result) {
    case TPress_Result::Invalid_Level:
        QMessageBox::critical(this, QString::fromLatin1(Window_Caption), Q(Session_.Last_Error()));
        return;
    case TPress_Result::Cancelled: return;
    case TPress_Result::Reported:
    case TPress_Result::Data_File_Errors: Show_Session(); return;
    }
}

void TForm1::Take_Edited_Report() {
    if (!Memo->document()->isModified()) return;
    TString_List lines;
    for (const QString& line : Memo->toPlainText().split(QLatin1Char('\n')))
        lines.push_back(line.toStdString());
    Session_.Replace_Lines(std::move(lines));
}

void TForm1::Show_Session() {
    QStringList lines;
    for (const std::string& line : Session_.Lines()) lines << Q(line);
    Memo->setPlainText(lines.join(QLatin1Char('\n')));
    Memo->document()->setModified(false);
    // The caret goes to the start of the last line: the newest lines come into view, scrolled fully left.
    Memo->moveCursor(QTextCursor::End);
    Memo->moveCursor(QTextCursor::StartOfBlock);
    Show_File_Label(lbl_monst_file, Session_.Monster_File_Label());
    Show_File_Label(lbl_item_file, Session_.Item_File_Label());
}

void TForm1::Show_File_Label(QLabel* label, const std::string& path) {
    // A long path word-wrapped at its slashes would cut the file name through the middle.
    label->setText(File_Label_Text(Q(path), label->fontMetrics(), label->contentsRect().width()));
    label->setToolTip(Q(path));
}

int Run_Tallymill_Window(int& argc, char** argv) {
    QApplication application(argc, argv);
    const auto messages = std::make_shared<TQt_Message_Sink>();
    TTally_Session session(messages);
    TQt_File_Chooser chooser;
    TForm1 form(session, chooser);
    chooser.Set_Parent(&form);
    messages->Set_Parent(&form);
    form.showMaximized();
    const int result = QApplication::exec();
    Install_Message_Sink(nullptr);
    return result;
}

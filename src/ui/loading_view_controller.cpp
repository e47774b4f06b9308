#include "ui/loading_view_controller.h"

#include "app/app_delegate.h"
#include "app/diagnostics.h"
#include "import/import_options.h"
#include "import/import_run.h"
#include "import/import_source.h"
#include "ui/alert.h"
#include "ui/open_panel.h"
#include "ui/segmented_control.h"
#include "ui_loading_view_controller.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace {

const QString okTitle = QStringLiteral("OK");

// A rejected line can be megabytes long, and a word-wrapped label lays out every character
// of it before the box appears (seconds for 1 MB). The box keeps the whole message as its
// informative text; what it shows of a long one is the beginning and the end, where the
// line number and the reason stand.
constexpr qsizetype shownHead = 240;
constexpr qsizetype shownTail = 160;

// The shown part with a chance to wrap every few characters, so that a line without spaces
// does not make the box wider than the screen.
QString wrappable(QStringView text) {
    constexpr qsizetype run = 40;
    QString out;
    out.reserve(text.size() + text.size() / run + 1);
    for (qsizetype i = 0; i < text.size(); i += run) {
        if (i > 0)
            out += QChar(0x200B); // zero-width space
        out += text.mid(i, run);
    }
    return out;
}

void showExcerptOfLongText(QMessageBox& box, const QString& text) {
    if (text.size() <= shownHead + shownTail)
        return;
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!label || !grid)
        return;
    const int index = grid->indexOf(label);
    if (index < 0)
        return;
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    auto* excerpt = new QLabel(&box);
    excerpt->setObjectName(QStringLiteral("informative_excerpt"));
    excerpt->setTextFormat(Qt::PlainText);
    excerpt->setWordWrap(true);
    excerpt->setTextInteractionFlags(label->textInteractionFlags());
    excerpt->setText(wrappable(QStringView(text).first(shownHead)) + QStringLiteral(" … ") +
                     wrappable(QStringView(text).last(shownTail)));
    grid->addWidget(excerpt, row, column, rowSpan, columnSpan);
    // A hidden widget takes no part in the layout, so its text is never laid out.
    label->hide();
}

// Shows a rejected line on the import's error box, with its one button.
void showRejection(QMessageBox& box, const QString& message) {
    box.setInformativeText(message);
    QPushButton* ok = box.addButton(okTitle, QMessageBox::AcceptRole);
    ok->setAccessibleName(okTitle);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    showExcerptOfLongText(box, message);
    runModal(box);
}

} // namespace

LoadingViewController::LoadingViewController(AppDelegate& delegate, QWidget* parent)
    : QWidget(parent), fromAppDelegate(delegate), ui_(new Ui::LoadingViewController) {
    ui_->setupUi(this);
    sepalations_label = ui_->sepalations_label;
    words_list_name = ui_->words_list_name;

    QFont title = ui_->title_label->font();
    title.setPointSizeF(title.pointSizeF() * 1.6);
    title.setBold(true);
    ui_->title_label->setFont(title);
    QFont example = ui_->sepalations_label->font();
    example.setPointSizeF(example.pointSizeF() * 1.2);
    ui_->sepalations_label->setFont(example);

    ui_->Separator_control->setSegments(
        {QStringLiteral(","), QStringLiteral(";"), QStringLiteral("@")});
    const QStringList separatorNames = {QStringLiteral("カンマ"), QStringLiteral("セミコロン"),
                                        QStringLiteral("アットマーク")};
    const QList<QPushButton*> separatorButtons =
        ui_->Separator_control->findChildren<QPushButton*>();
    for (qsizetype i = 0; i < separatorButtons.size() && i < separatorNames.size(); ++i)
        separatorButtons[i]->setAccessibleName(separatorNames[i]);
    ui_->Sequence_control->setSegments({QStringLiteral("英語が先"), QStringLiteral("日本語が先")});

    connect(ui_->Separator_control, &SegmentedControl::segmentSelected, this,
            &LoadingViewController::separations);
    connect(ui_->Sequence_control, &SegmentedControl::segmentSelected, this,
            &LoadingViewController::sequence);
    connect(ui_->Open_button, &QPushButton::clicked, this, &LoadingViewController::open);

    setAcceptDrops(true);
    viewDidLoad();
}

LoadingViewController::~LoadingViewController() = default;

void LoadingViewController::viewDidLoad() {
    words_list_name->setPlaceholderText(QStringLiteral("単語リスト名"));
    importer::resetSeparator();
    showOptions();
}

void LoadingViewController::showOptions() {
    ui_->Separator_control->setSelectedSegment(importer::segmentOfSeparator(importer::SEPARATOR));
    ui_->Sequence_control->setSelectedSegment(
        importer::segmentOfSequenceCode(fromAppDelegate.SEQUENCE_CODE));
    sepalations_label->setText(importer::exampleLine());
}

void LoadingViewController::separations() {
    const platform::FlushDiagnosticsOnReturn flush;
    importer::chooseSeparator(selectedSegmentOf(sender()));
    showOptions();
}

void LoadingViewController::sequence() {
    const platform::FlushDiagnosticsOnReturn flush;
    importer::chooseSequence(fromAppDelegate, selectedSegmentOf(sender()));
    showOptions();
}

QMessageBox* LoadingViewController::newErrorBox() {
    auto* box = new QMessageBox(this);
    box->setWindowTitle(QApplication::applicationDisplayName());
    box->setIcon(QMessageBox::NoIcon);
    box->setTextFormat(Qt::PlainText);
    box->setText(importer::errorTitle());
    return box;
}

void LoadingViewController::open() {
    const platform::FlushDiagnosticsOnReturn flush;
    // One error box per import, for the line check to fill in when it rejects a line.
    const std::unique_ptr<QMessageBox> errorBox(newErrorBox());

    QFileDialog panel(this);
    setUpOpenPanel(panel, QFileDialog::ExistingFile,
                   {QStringLiteral("読み込むファイルを選ぶ"), QStringLiteral("ファイル名:"),
                    QStringLiteral("開く")});
    // One filter that lets every file through, only so that its name is Japanese too.
    panel.setNameFilter(QStringLiteral("すべてのファイル (*)"));
    if (runModal(panel) != QDialog::Accepted)
        return;
    const QStringList chosen = panel.selectedFiles();
    if (chosen.isEmpty())
        return;
    importFile(chosen.first(), *errorBox);
}

void LoadingViewController::importFile(const QString& path, QMessageBox& errorBox) {
    const importer::SourceRead read = importer::readSource(path);
    switch (read.kind) {
    case importer::SourceRead::Kind::Text:
        break;
    case importer::SourceRead::Kind::Unreadable:
    case importer::SourceRead::Kind::NotUtf8:
        runAlert(this, importer::errorTitle(), importer::sourceAlertText(read.kind),
                 {{okTitle}, 0});
        return;
    case importer::SourceRead::Kind::ShiftJis:
        if (runAlert(this, importer::errorTitle(), importer::sourceAlertText(read.kind),
                     {{okTitle, importer::shiftJisButtonTitle()}, 0}) != 1)
            return;
        break;
    }
    ADD_WORDS_LIST = read.utf8;

    const importer::ImportOutcome outcome =
        importer::runImportUtf8(ADD_WORDS_LIST, words_list_name->text(), fromAppDelegate,
                                [&](const QString& message) { showRejection(errorBox, message); });
    const QString text = importer::outcomeText(outcome);
    if (text.isEmpty())
        return;
    const QString title = outcome.kind == importer::ImportOutcome::Kind::Completed
                              ? importer::completionTitle()
                              : importer::errorTitle();
    runAlert(this, title, text, {{okTitle}, 0});
}

void LoadingViewController::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile() &&
        !QFileInfo(urls.first().toLocalFile()).isDir())
        event->acceptProposedAction();
}

void LoadingViewController::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    // The drag source waits for the drop to finish: import once it has.
    const QString path = urls.first().toLocalFile();
    QMetaObject::invokeMethod(
        this,
        [this, path] {
            const platform::FlushDiagnosticsOnReturn flush;
            const std::unique_ptr<QMessageBox> errorBox(newErrorBox());
            importFile(path, *errorBox);
        },
        Qt::QueuedConnection);
}

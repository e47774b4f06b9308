// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/loading_view_controller.h"

#include "app/app_delegate.h"
#include "import/import_options.h"
#include "import/import_run.h"
#include "import/import_source.h"
#include "platform/diagnostics.h"
#include "ui/alert.h"
#include "ui/background_work.h"
#include "ui/open_panel.h"
#include "ui/segmented_control.h"
#include "ui_loading_view_controller.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QUrl>

namespace {

const QString okTitle = QStringLiteral("OK");

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
        {QStringLiteral(","), QStringLiteral(";"), QStringLiteral("@"), QStringLiteral("タブ")},
        {QStringLiteral("カンマ"), QStringLiteral("セミコロン"), QStringLiteral("アットマーク"),
         QStringLiteral("タブ")});
    ui_->Sequence_control->setSegments({QStringLiteral("英語が先"), QStringLiteral("日本語が先")});
    setTabOrderInRows({ui_->Separator_control, ui_->Sequence_control, words_list_name,
                       ui_->Open_button, ui_->Back_button});
    // Arriving here, work starts with the separator.
    setFocusProxy(ui_->Separator_control);

    connect(ui_->Separator_control, &SegmentedControl::segmentSelected, this,
            &LoadingViewController::separations);
    connect(ui_->Sequence_control, &SegmentedControl::segmentSelected, this,
            &LoadingViewController::sequence);
    connect(ui_->Open_button, &QPushButton::clicked, this, &LoadingViewController::open);
    connect(ui_->Back_button, &QPushButton::clicked, this, &LoadingViewController::backRequested);

    setAcceptDrops(true);
    viewDidLoad();
}

LoadingViewController::~LoadingViewController() = default;

void LoadingViewController::viewDidLoad() {
    words_list_name->setPlaceholderText(QStringLiteral("単語リスト名"));
    // The separator returns to "," at every visit; the order stays as it was chosen.
    showOptions({',', fromAppDelegate.SEQUENCE_CODE});
}

void LoadingViewController::showOptions(importer::LineLayout layout) {
    importer::publish(layout, fromAppDelegate);
    ui_->Separator_control->setSelectedSegment(importer::segmentOfSeparator(layout.separator));
    ui_->Sequence_control->setSelectedSegment(int(layout.sequenceCode));
    sepalations_label->setText(importer::exampleLine(layout));
}

void LoadingViewController::separations(int segment) {
    const platform::FlushDiagnosticsOnReturn flush;
    importer::LineLayout layout = importer::layoutInForce(fromAppDelegate);
    layout.separator = importer::separatorOfSegment(segment);
    showOptions(layout);
}

void LoadingViewController::sequence(int segment) {
    const platform::FlushDiagnosticsOnReturn flush;
    importer::LineLayout layout = importer::layoutInForce(fromAppDelegate);
    layout.sequenceCode = segment == 1 ? 1 : 0;
    showOptions(layout);
}

void LoadingViewController::open() {
    const platform::FlushDiagnosticsOnReturn flush;

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
    importFile(chosen.first());
}

void LoadingViewController::importFile(const QString& path) {
    if (importing_)
        return;
    const QScopedValueRollback importing(importing_, true);
    const importer::SourceRead read = inBackground([&path] { return importer::readSource(path); });
    if (!read.diagnostic.isEmpty())
        platform::diagnostic(read.diagnostic);
    switch (read.kind) {
    case importer::SourceRead::Kind::Text:
        break;
    case importer::SourceRead::Kind::Unreadable:
    case importer::SourceRead::Kind::NotUtf8:
        runAlert(this, importer::errorTitle(), importer::sourceAlertText(read.kind),
                 {{okTitle}, 0});
        return;
    case importer::SourceRead::Kind::ShiftJis:
    case importer::SourceRead::Kind::Utf16:
        if (runAlert(this, importer::errorTitle(), importer::sourceAlertText(read.kind),
                     {{okTitle, importer::offeredEncodingButtonTitle(read.kind)}, 0}) != 1)
            return;
        break;
    }
    ADD_WORDS_LIST = read.utf8;

    const importer::LineLayout layout = importer::layoutInForce(fromAppDelegate);
    const importer::SourceFormat format = importer::formatOf(path, ADD_WORDS_LIST);
    importer::CheckedText checked =
        inBackground([&] { return importer::checkSource(ADD_WORDS_LIST, layout, format); });
    const importer::ImportOutcome outcome = importer::finishImport(
        std::move(checked), words_list_name->text(), fromAppDelegate, format);
    importer::IMPORT_OK = fromAppDelegate.LINE_INDEX > 0;
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
            importFile(path);
        },
        Qt::QueuedConnection);
}

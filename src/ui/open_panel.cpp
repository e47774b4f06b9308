#include "ui/open_panel.h"

void setUpOpenPanel(QFileDialog& panel, QFileDialog::FileMode mode, const OpenPanelTexts& texts) {
    QFileDialog::Options options = QFileDialog::DontUseNativeDialog | QFileDialog::ReadOnly;
    if (mode == QFileDialog::Directory)
        options |= QFileDialog::ShowDirsOnly;
    panel.setOptions(options);
    panel.setFileMode(mode);
    panel.setAcceptMode(QFileDialog::AcceptOpen);
    panel.setWindowTitle(texts.title);
    panel.setLabelText(QFileDialog::LookIn, QStringLiteral("場所:"));
    panel.setLabelText(QFileDialog::FileName, texts.nameLabel);
    panel.setLabelText(QFileDialog::FileType, QStringLiteral("種類:"));
    panel.setLabelText(QFileDialog::Accept, texts.accept);
    panel.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
}

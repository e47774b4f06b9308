#include "ui/playing_setting.h"

#include <QLabel>
#include <QVBoxLayout>

PlayingSetting::PlayingSetting(AppDelegate& delegate, QWidget* parent)
    : QWidget(parent), fromAppDelegate(delegate) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("準備中"), this));
}

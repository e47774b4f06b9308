#include "ui/game_view_controller.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

GameViewController::GameViewController(AppDelegate& delegate, QWidget* parent)
    : QWidget(parent), fromAppDelegate(delegate) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("準備中"), this));
    auto* back = new QPushButton(QStringLiteral("戻る(&B)"), this);
    back->setObjectName(QStringLiteral("Back_button"));
    back->setAccessibleName(QStringLiteral("戻る"));
    layout->addWidget(back);
}

// SPDX-FileCopyrightText: The Verbolin developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/accessible_look.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>

namespace {

// White on this blue is 5.4:1; the blue on the window's light grey is 4.7:1, so it serves
// as a focus ring as well.
const QColor highlight(0x1F, 0x6F, 0xA8);
// 5.5:1 on a white field.
const QColor placeholder(0x69, 0x69, 0x69);
// 4:1 on the window's grey, where the style's own outline is 2:1.
const QColor outline(0x76, 0x76, 0x76);
constexpr int ringWidth = 2;

// The default style marks the focus by a 1 px change of a control's outline (2.35:1): a
// 2 px ring in the highlight colour is drawn over it, and progress bars get a darker
// outline.
class AccessibleStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        const bool ringed = element == PE_PanelButtonCommand || element == PE_FrameLineEdit ||
                            element == PE_FrameFocusRect;
        if (ringed && option->state & State_HasFocus && option->state & State_Enabled)
            drawRing(option->rect, painter);
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if (control == CC_ComboBox && option->state & State_HasFocus)
            drawRing(option->rect, painter);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        QProxyStyle::drawControl(element, option, painter, widget);
        if (element == CE_ProgressBarGroove) {
            painter->save();
            painter->setPen(outline);
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5));
            painter->restore();
        }
    }

private:
    static void drawRing(const QRect& rect, QPainter* painter) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setPen(QPen(highlight, ringWidth));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(rect).adjusted(ringWidth / 2.0, ringWidth / 2.0, -ringWidth / 2.0,
                                                -ringWidth / 2.0));
        painter->restore();
    }
};

} // namespace

void applyAccessibleLook() {
    QApplication::setStyle(new AccessibleStyle);
    QPalette palette = QApplication::palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, highlight);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::PlaceholderText, placeholder);
    }
    QApplication::setPalette(palette);
}

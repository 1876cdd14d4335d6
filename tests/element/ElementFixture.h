#pragma once

#include "AppState.h"
#include "Canvas.h"
#include "Elements.h"
#include "Twips.h"
#include "clsImage.h"

#include <QLocale>

#include <gtest/gtest.h>

// A canvas with elements bound the way a screen load binds them, without a window.
class ElementFixture : public ::testing::Test
{
protected:
    AppState state;
    Canvas canvas;
    Elements elements{state, QLocale::c()};

    ElementFixture() { canvas.selector()->setLineWidth(3); }

    // Binds slot with the given INI values (device pixels) relative to coSystem
    // (the screen frame when null) and lets it place itself; all Touch flags set.
    clsImage& bind(int slot, const QString& x, const QString& y, const QString& cx, const QString& cy,
                   CanvasShape* coSystem = nullptr)
    {
        elements.grow(slot + 1);
        clsImage& e = *elements.at(slot);
        e.SetImage(canvas.bitmap(slot));
        e.SetFrame(canvas.frame(slot));
        e.SetX(canvas.txtX());
        e.SetY(canvas.txtY());
        e.SetCX(canvas.txtCX());
        e.SetCY(canvas.txtCY());
        e.SetNameLabel(canvas.nameLabel());
        e.SetName(QStringLiteral("slot%1 in test.ini").arg(slot));
        e.SetCoSystem(coSystem ? coSystem : canvas.screen());
        canvas.selector()->setTag(QString::number(slot));
        canvas.selector()->setVisible(true);
        e.SetSelector(canvas.selector());
        e.Index(qint16(slot));
        canvas.txtX()->setText(x);
        canvas.txtY()->setText(y);
        canvas.txtCX()->setText(cx);
        canvas.txtCY()->setText(cy);
        e.paintImage();
        e.visible(true);
        e.TouchX(true);
        e.TouchY(true);
        e.TouchCX(true);
        e.TouchCY(true);
        return e;
    }

    clsImage& bind(int slot, int x, int y, int cx, int cy, CanvasShape* coSystem = nullptr)
    {
        return bind(slot, QString::number(x), QString::number(y), QString::number(cx), QString::number(cy), coSystem);
    }

    void select(int slot)
    {
        canvas.selector()->setTag(QString::number(slot));
        elements.at(slot)->paintSelector();
    }

    QStringList fields() const
    {
        return {canvas.txtX()->text(), canvas.txtY()->text(), canvas.txtCX()->text(), canvas.txtCY()->text()};
    }

    // Where a frame lies on a bitmap: its rectangle in whole twips.
    static QRectF wholeTwips(const CanvasItem* item)
    {
        const QRectF r = item->rect();
        return QRectF(Twips::whole(r.x()), Twips::whole(r.y()), Twips::whole(r.width()), Twips::whole(r.height()));
    }

    // Rectangle of a slot's bitmap in device pixels (15 twips each).
    static QRectF pixels(const CanvasItem* item)
    {
        const QRectF r = item->rect();
        return {r.x() / 15, r.y() / 15, r.width() / 15, r.height() / 15};
    }
};

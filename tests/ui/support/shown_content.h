#pragma once

#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTableWidget>

namespace zelmora::ui::test {

// The texts of one table row, left to right.
inline QStringList RowTexts(const QTableWidget& table, int row) {
    QStringList texts;
    for (int c = 0; c < table.columnCount(); ++c)
        texts << table.item(row, c)->text();
    return texts;
}

// The pixels of a chart, drawn by Qt SVG on white, that have the given colour.
inline int PixelsOfColour(QSvgWidget& chart, QRgb colour) {
    QImage image(chart.renderer()->defaultSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    chart.renderer()->render(&painter);
    painter.end();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
}

} // namespace zelmora::ui::test

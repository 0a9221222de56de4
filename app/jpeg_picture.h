#pragma once

#include <QByteArray>
#include <QImage>

namespace zelmora::ui {

// Decodes JPEG bytes with libjpeg. A null image when the data is not a decodable JPEG.
QImage DecodeJpeg(const QByteArray& data);

} // namespace zelmora::ui

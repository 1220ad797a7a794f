#include "captcha.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <mutex>

namespace Captcha {

namespace {
const char kAlphabet[] = "ACDEFHJKMNPRTUVWXY3479";
}

QString newCode()
{
    QString code;
    auto *rng = QRandomGenerator::system();
    for (int i = 0; i < codeLength; ++i)
        code += QLatin1Char(kAlphabet[rng->bounded(int(sizeof(kAlphabet) - 1))]);
    return code;
}

QByteArray png(const QString &code)
{
    // Font rendering is shared state of the platform; one picture at a time.
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    auto *rng = QRandomGenerator::global();
    const int w = 180, h = 60;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(238 + rng->bounded(12), 238 + rng->bounded(12), 230 + rng->bounded(20)));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Noise under the letters: dots and thin lines.
    for (int i = 0; i < 350; ++i) {
        p.setPen(QColor(rng->bounded(120, 220), rng->bounded(120, 220), rng->bounded(120, 220)));
        p.drawPoint(rng->bounded(w), rng->bounded(h));
    }
    for (int i = 0; i < 5; ++i) {
        p.setPen(QPen(QColor(rng->bounded(90, 180), rng->bounded(90, 180), rng->bounded(90, 180)), 1));
        p.drawLine(rng->bounded(w), rng->bounded(h), rng->bounded(w), rng->bounded(h));
    }
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(30);
    font.setBold(true);
    p.setFont(font);
    const int step = (w - 20) / code.size();
    for (int i = 0; i < code.size(); ++i) {
        p.save();
        p.translate(16 + i * step + rng->bounded(6), 40 + rng->bounded(-5, 6));
        p.rotate(rng->bounded(-28, 29));
        p.setPen(QColor(rng->bounded(10, 90), rng->bounded(10, 90), rng->bounded(40, 120)));
        p.drawText(0, 0, code.mid(i, 1));
        p.restore();
    }
    // Two strokes across the letters.
    for (int i = 0; i < 2; ++i) {
        p.setPen(QPen(QColor(rng->bounded(40, 120), rng->bounded(40, 120), rng->bounded(40, 120)), 2));
        QPainterPath path;
        path.moveTo(0, rng->bounded(15, 45));
        path.cubicTo(w / 3, rng->bounded(h), 2 * w / 3, rng->bounded(h), w, rng->bounded(15, 45));
        p.drawPath(path);
    }
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

bool matches(const QString &typed, const QString &code)
{
    return !code.isEmpty() && typed.trimmed().compare(code, Qt::CaseInsensitive) == 0;
}

} // namespace Captcha

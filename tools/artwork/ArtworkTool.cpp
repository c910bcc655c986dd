// vomra-artwork assets <source-root>   rewrite the stored splash and desktop icons
// vomra-artwork fixtures <folder>      write the JPEG fixtures of the picture tests
// vomra-artwork sheet <file.png>       draw every picture on one contact sheet
#include "artwork/Artwork.h"
#include "artwork/ArtworkPaint.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>

#include <cstdio>

namespace {

bool save(const QImage &img, const QString &path, const char *format, int quality = -1)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImageWriter writer(path, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(img)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}

int writeAssets(const QString &root)
{
    bool ok = save(vomra::artwork::paintSplash(), root + QStringLiteral("/assets/artwork/splash.jpg"), "jpg", 92);
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        ok = save(vomra::artwork::paintAppIcon(size),
                  root + QStringLiteral("/assets/icons/hicolor/%1x%1/apps/vomra.png").arg(size), "png")
             && ok;
    return ok ? 0 : 1;
}

// Four flat quadrants (red, green, blue, white) and a grey ramp: colours that
// survive JPEG well enough to check after decoding.
int writeFixtures(const QString &dir)
{
    QImage img(32, 24, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.fillRect(0, 0, 16, 12, QColor(255, 0, 0));
    p.fillRect(16, 0, 16, 12, QColor(0, 255, 0));
    p.fillRect(0, 12, 16, 12, QColor(0, 0, 255));
    p.end();
    bool ok = save(img, dir + QStringLiteral("/quadrants.jpg"), "jpg", 95);
    QImage gray(17, 9, QImage::Format_Grayscale8);
    for (int y = 0; y < gray.height(); ++y)
        for (int x = 0; x < gray.width(); ++x)
            gray.setPixel(x, y, qRgb(x * 15, x * 15, x * 15));
    ok = save(gray, dir + QStringLiteral("/grayramp.jpg"), "jpg", 95) && ok;
    return ok ? 0 : 1;
}

class Sheet {
public:
    explicit Sheet(QImage &img) : m_p(&img)
    {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(11);
        m_p.setFont(f);
    }
    void heading(int x, int y, const QString &text)
    {
        m_p.setPen(Qt::black);
        m_p.drawText(x, y, text);
    }
    // Cells of one image list in rows of `columns`, each on the given ground,
    // with its index under it at 100 %.
    int grid(int x, int y, const vomra::TGWImageList &list, int zoom, int columns, QColor ground,
             bool disabled, int first = 0, int step = 1)
    {
        const int cell = list.Width() * zoom, gap = zoom == 1 ? 16 : 8;
        int col = 0, row = 0;
        for (int i = first; i < list.Count(); i += step) {
            const int cx = x + col * (cell + gap), cy = y + row * (cell + gap + (zoom == 1 ? 12 : 0));
            m_p.fillRect(cx, cy, cell, cell, ground);
            const QImage img = disabled ? list.disabledImage(i) : list.image(i);
            m_p.drawImage(QRect(cx, cy, cell, cell), zoom == 1 ? img : img.scaled(cell, cell));
            if (zoom == 1) {
                m_p.setPen(Qt::darkGray);
                m_p.drawText(cx, cy + cell + 11, QString::number(i));
            }
            if (++col == columns) {
                col = 0;
                ++row;
            }
        }
        const int rows = row + (col ? 1 : 0);
        return y + rows * (cell + gap + (zoom == 1 ? 12 : 0));
    }
    QPainter &p() { return m_p; }

private:
    QPainter m_p;
};

int writeSheet(const QString &path)
{
    auto *l1 = vomra::createImageList1();
    auto *l2 = vomra::createImageList2();
    auto *l3 = vomra::createImageList3();
    QImage img(1400, 1460, QImage::Format_RGB32);
    img.fill(QColor(0xf4, 0xf4, 0xf4));
    Sheet s(img);
    const QColor white(Qt::white), classic(0xd4, 0xd0, 0xc8), dark(0x3a, 0x46, 0x5c);
    int y = 20;
    s.heading(10, y, QStringLiteral("ImageList1 20x20 (100%) on white, classic grey, dark"));
    y = s.grid(10, y + 8, *l1, 1, 23, white, false);
    y = s.grid(10, y, *l1, 1, 23, classic, false);
    y = s.grid(10, y, *l1, 1, 23, dark, false);
    s.heading(10, y + 12, QStringLiteral("ImageList2 48x48 (100%)"));
    y = s.grid(10, y + 20, *l2, 1, 3, white, false);
    s.heading(10, y + 12, QStringLiteral("ImageList3 24x24 (100%): normal / mouse over / pressed / disabled"));
    y = s.grid(10, y + 20, *l3, 1, 15, white, false, 0, 3);
    y = s.grid(10, y, *l3, 1, 15, white, false, 1, 3);
    y = s.grid(10, y, *l3, 1, 15, white, false, 2, 3);
    y = s.grid(10, y, *l3, 1, 15, white, true, 0, 3);
    y = s.grid(10, y, *l3, 1, 15, classic, false, 0, 3);
    y = s.grid(10, y, *l3, 1, 15, classic, true, 0, 3);
    s.heading(10, y + 12, QStringLiteral("400%"));
    y = s.grid(10, y + 20, *l1, 4, 13, white, false);
    y = s.grid(10, y, *l3, 4, 13, white, false, 0, 3);
    y = s.grid(10, y, *l2, 4, 3, white, false);
    s.heading(10, y + 12, QStringLiteral("Splash 400x240 and application icons"));
    s.p().drawImage(10, y + 20, vomra::splashPicture());
    int x = 430;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        s.p().drawImage(x, y + 20, vomra::appIconImage(size));
        x += size + 12;
    }
    s.p().end();
    return save(img, path, "png") ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("assets"))
        return writeAssets(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("fixtures"))
        return writeFixtures(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("sheet"))
        return writeSheet(args[2]);
    std::fprintf(stderr, "usage: vomra-artwork assets <source-root> | fixtures <folder> | sheet <file.png>\n");
    return 2;
}

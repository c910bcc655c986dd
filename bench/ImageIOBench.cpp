// Decoding a large picture: a 4000 x 3000 24-bit bitmap and the same picture as JPEG.
#include "platform/ImageIO.h"

#include <QBuffer>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

QImage photoLike()
{
    QImage img(4000, 3000, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 4000, 3000);
    g.setColorAt(0, QColor(30, 60, 140));
    g.setColorAt(0.5, QColor(220, 180, 90));
    g.setColorAt(1, QColor(20, 120, 60));
    p.fillRect(img.rect(), g);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 200; ++i) {
        p.setBrush(QColor::fromHsv((i * 37) % 360, 160, 220));
        p.drawEllipse(QPoint((i * 193) % 4000, (i * 311) % 3000), 40 + i % 90, 30 + i % 70);
    }
    return img;
}

QByteArray encoded(const char *format)
{
    static const QImage picture = photoLike();
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    QImageWriter writer(&buf, format);
    writer.setQuality(90);
    writer.write(picture);
    return out;
}

void BM_DecodeBmp24(benchmark::State &state)
{
    static const QByteArray bmp = encoded("bmp");
    for (auto _ : state) {
        vomra::Result<vomra::Picture> load = vomra::decodePicture(bmp);
        if (!load.ok())
            state.SkipWithError("bitmap did not decode");
        benchmark::DoNotOptimize(load->image.constBits());
    }
    state.SetBytesProcessed(state.iterations() * bmp.size());
}
BENCHMARK(BM_DecodeBmp24)->Unit(benchmark::kMillisecond);

void BM_DecodeJpeg(benchmark::State &state)
{
    static const QByteArray jpeg = encoded("jpg");
    for (auto _ : state) {
        vomra::Result<vomra::Picture> load = vomra::decodePicture(jpeg);
        if (!load.ok())
            state.SkipWithError("JPEG did not decode");
        benchmark::DoNotOptimize(load->image.constBits());
    }
    state.SetBytesProcessed(state.iterations() * jpeg.size());
}
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond);

} // namespace

// The mini-HTML reader and layout on any text: preparing and reading tokens always moves on,
// measuring gives a size, and hit tests at points taken from the input find only what the text
// holds (an anchor number within the count, a control inside the measured area).
// Input: one mode byte, two 16-bit points, then the text (UTF-8, or UTF-16 with mode bit 0x80).
#include "FuzzSupport.h"

#include "grid/display/QrlHTMLEngine.h"
#include "grid/model/QrlHTMLMarkup.h"

#include <QGuiApplication>
#include <QImage>

namespace {

QString textOf(const QByteArray &bytes, bool utf16)
{
    if (utf16)
        return QString(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2);
    return QString::fromUtf8(bytes);
}

void checkReader(const QString &text, bool wordWrap)
{
    const QString prepared = PrepareHTMLMarkup(text);
    FUZZ_CHECK(prepared.size() <= text.size() * 4);
    qsizetype pos = 0;
    for (;;) {
        const THTMLToken t = NextHTMLToken(prepared, pos, wordWrap);
        FUZZ_CHECK(t.begin == pos && t.end <= prepared.size());
        if (t.kind == THTMLToken::Kind::End)
            break;
        FUZZ_CHECK(t.end > pos);
        if (t.kind == THTMLToken::Kind::Tag) {
            const QStringView tag = QStringView(prepared).mid(t.begin, t.end - t.begin);
            FUZZ_CHECK(tag.startsWith(u'<') && tag.endsWith(u'>'));
            (void)ClassifyHTMLTag(tag);
            QString v;
            if (HTMLTagAttribute(tag, u" COLOR", v, true))
                (void)HTMLColorValue(v);
            if (HTMLTagAttribute(tag, u"BGCOLOR", v, true))
                (void)HTMLBodyColorValue(v);
        } else {
            (void)DecodeHTMLRun(QStringView(prepared).mid(t.begin, t.end - t.begin));
        }
        pos = t.end;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Reader in(data, size);
    const uint8_t mode = in.take<uint8_t>();
    const int x = in.take<uint16_t>() % 600;
    const int y = in.take<uint16_t>() % 400;
    const QString text = textOf(in.rest(), mode & 0x80);
    const bool wordWrap = mode & 1;

    checkReader(text, wordWrap);

    TCanvas canvas;
    THTMLPaintParams p;
    p.WordWrap = wordWrap;
    p.HoverStyling = mode & 2;
    p.HoverAnchorIndex = (mode >> 2) & 3;
    const TSize need = MeasureHTMLText(canvas, text, 300, wordWrap, p);
    FUZZ_CHECK(need.cx >= 0 && need.cy > 0);

    THTMLPaintResult r;
    const TRect rect{0, 0, 300, 200};
    const bool hit = HitTestHTMLText(canvas, text, rect, x, y, p, r);
    FUZZ_CHECK(r.HitAnchorIndex == -1 || (r.HitAnchorIndex >= 1 && r.HitAnchorIndex <= r.AnchorCount));
    if (hit && r.AnchorHref == QLatin1String("ctrl"))
        FUZZ_CHECK(r.ControlRect.Left <= x && x <= r.ControlRect.Right);

    // Painting onto a small image reaches every drawing step.
    QImage image(120, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas paint(&image);
    THTMLPaintResult pr;
    PaintHTMLText(paint, text, {0, 0, 120, 60}, p, pr);
    paint.Flush();
    FUZZ_CHECK(pr.AnchorCount >= 0);
    return 0;
}

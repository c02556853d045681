#include "grid/model/QrlHTMLPicture.h"

#include "grid/model/QrlFilePicture.h"
#include "grid/model/QrlGridError.h"
#include "platform/ui/Canvas.h"

#include <QCoreApplication>
#include <QFile>
#include <QIODevice>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <new>

namespace {

constexpr int HimetricPerInch = 2540;
constexpr int DefaultDpi = 96;

// Rounds half away from zero, as the platform's MulDiv did.
int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const std::int64_t t = std::int64_t(a) * b;
    const std::int64_t half = c / 2;
    return int(t >= 0 ? (t + half) / c : (t - half) / c);
}

// Reads past the end give 0: the data may be any file.
class TBytes
{
public:
    explicit TBytes(const QByteArray &data) : m_data(data) {}
    qsizetype size() const { return m_data.size(); }
    int at(qsizetype i) const { return i >= 0 && i < m_data.size() ? uchar(m_data[i]) : 0; }
    std::uint16_t le16(qsizetype i) const { return std::uint16_t(at(i) | (at(i + 1) << 8)); }
    // A graphic control extension followed by an image descriptor, with 9 more bytes after i.
    bool frameStart(qsizetype i) const
    {
        return i + 9 < m_data.size() && at(i) == 0x21 && at(i + 1) == 0xF9 && at(i + 2) == 0x04 &&
               at(i + 8) == 0x2C;
    }

private:
    const QByteArray &m_data;
};

[[noreturn]] void decodeError(const char *message)
{
    throw EQrlGridError(QString::fromLatin1(message));
}

int deviceDpi(TCanvas &Canvas, bool X)
{
    QPaintDevice *device = Canvas.Device();
    if (!device && Canvas.Painter())
        device = Canvas.Painter()->device();
    if (!device)
        return DefaultDpi;
    const int dpi = X ? device->logicalDpiX() : device->logicalDpiY();
    return dpi > 0 ? dpi : DefaultDpi;
}

// Whole dots per inch of the picture, 96 when the file gives none.
int imageDpi(int dotsPerMeter)
{
    const int dpi = qRound(dotsPerMeter * 0.0254);
    return dpi > 0 ? dpi : DefaultDpi;
}

} // namespace

// ---- THTMLPicture -----------------------------------------------------------------------------

THTMLPicture::THTMLPicture() = default;

THTMLPicture::~THTMLPicture() = default;

void THTMLPicture::Assign(const TPersistent &Source)
{
    Assign(&Source);
}

void THTMLPicture::Assign(const TPersistent *Source)
{
    const auto *picture = dynamic_cast<const THTMLPicture *>(Source);
    if (picture == this)
        return;
    // Anything but another picture must not keep the old bytes behind an empty picture.
    clear();
    if (!picture || picture->FDatastream.isEmpty())
        return;
    loadBytes(picture->FDatastream);
}

void THTMLPicture::clear()
{
    FDatastream.clear();
    gpPicture = QImage();
    FIsEmpty = true;
    resetFrames();
}

void THTMLPicture::resetFrames()
{
    FFrame = 1;
    FFrameCount = -1;
    FNextCount = -1;
    FTimerCount = -1;
}

void THTMLPicture::loadBytes(const QByteArray &Data)
{
    // New data starts at its first frame with a fresh count, whatever was shown before.
    clear();
    FDatastream = Data;
    try {
        decode();
    } catch (...) {
        clear();
        throw;
    }
    changed();
}

void THTMLPicture::changed()
{
    if (OnChange)
        OnChange(this);
}

void THTMLPicture::decode()
{
    const TBytes in(FDatastream);
    QByteArray bytes;
    try {
        bytes.reserve(FDatastream.size());
    } catch (const std::bad_alloc &) {
        decodeError("Could not allocate memory for image");
    }

    std::uint16_t xPos = 0, yPos = 0, xSize = 0, ySize = 0, maxX = 0, maxY = 0;
    if (FrameCount() > 0) {
        maxX = in.le16(6);
        maxY = in.le16(8);
        // Header, screen descriptor and colour table, then the current frame and all after it:
        // the decoder shows the first frame it meets.
        int frame = 0;
        qsizetype firstStart = -1;
        qsizetype currentStart = -1;
        for (qsizetype i = 0; i < in.size(); ++i) {
            if (!in.frameStart(i))
                continue;
            if (++frame == 1)
                firstStart = i;
            if (frame == FFrame) {
                xPos = in.le16(i + 9);
                yPos = in.le16(i + 11);
                xSize = in.le16(i + 13);
                ySize = in.le16(i + 15);
                currentStart = i;
            }
        }
        if (FFrame <= 1) {
            bytes = FDatastream;
        } else {
            bytes.append(FDatastream.constData(), firstStart);
            if (currentStart >= 0)
                bytes.append(FDatastream.constData() + currentStart,
                             FDatastream.size() - currentStart);
        }
    } else {
        bytes = FDatastream;
    }

    QImage image;
    try {
        image = DecodePictureData(bytes, QString());
    } catch (const EPictureError &) {
        decodeError("Could not load image. Invalid format");
    }
    if (image.isNull())
        decodeError("Could not load image");

    gpPicture = image;
    FIsEmpty = false;
    FFrameXPos = xPos;
    FFrameYPos = yPos;
    FFrameXSize = xSize;
    FFrameYSize = ySize;
    FAnimMaxX = maxX;
    FAnimMaxY = maxY;
}

void THTMLPicture::LoadFromFile(const QString &FileName)
{
    try {
        QFile file(FileName);
        if (!file.open(QIODevice::ReadOnly)) {
            clear();
            return;
        }
        loadBytes(file.readAll());
    } catch (const std::exception &) {
        clear();
    }
}

void THTMLPicture::LoadFromStream(QIODevice *Stream)
{
    if (!Stream)
        return;
    if (!Stream->isSequential())
        Stream->seek(0);
    loadBytes(Stream->readAll());
}

void THTMLPicture::SaveToStream(QIODevice *Stream) const
{
    if (Stream)
        Stream->write(FDatastream);
}

void THTMLPicture::ReadData(QIODevice *Stream)
{
    if (Stream)
        loadBytes(Stream->readAll());
}

void THTMLPicture::WriteData(QIODevice *Stream) const
{
    SaveToStream(Stream);
}

void THTMLPicture::LoadFromResourceName(const QString &Instance, const QString &ResName)
{
    QString root = Instance.isEmpty() ? QStringLiteral(":/") : Instance;
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    QFile resource(root + ResName);
    if (!resource.open(QIODevice::ReadOnly))
        return;
    loadBytes(resource.readAll());
}

void THTMLPicture::LoadFromResourceID(const QString &Instance, int ResID)
{
    LoadFromResourceName(Instance, QString::number(ResID));
}

void THTMLPicture::LoadFromURL(const QString &url)
{
    const QString upper = url.toUpper();
    if (upper.startsWith(QLatin1String("RES://"))) {
        FID = url;
        LoadFromResourceName(QString(), url.mid(6));
    } else if (upper.startsWith(QLatin1String("FILE://"))) {
        FID = url;
        LoadFromFile(url.mid(7));
    } else if (!FAsynch) {
        FURL = url;
        FID = url;
    } else if (!FThreadBusy) {
        FURL = url;
        FThreadBusy = true;
        new TDownLoadThread(this);
    }
}

void THTMLPicture::LoadFromClipboardFormat(std::uint16_t, std::uintptr_t, std::uintptr_t) {}

void THTMLPicture::SaveToClipboardFormat(std::uint16_t &, std::uintptr_t &, std::uintptr_t &) const
{}

void THTMLPicture::Draw(TCanvas &Canvas, const TRect &Rect) const
{
    if (FIsEmpty || gpPicture.isNull())
        return;
    if (FStretched) {
        Canvas.StretchDraw(Rect, gpPicture);
        return;
    }
    const int w = mulDiv(hmWidth(), deviceDpi(Canvas, true), HimetricPerInch);
    const int h = mulDiv(hmHeight(), deviceDpi(Canvas, false), HimetricPerInch);
    Canvas.StretchDraw(Bounds(Rect.Left, Rect.Top, w, h), gpPicture);
}

int THTMLPicture::hmWidth() const
{
    if (gpPicture.isNull())
        return 0;
    return mulDiv(gpPicture.width(), HimetricPerInch, imageDpi(gpPicture.dotsPerMeterX()));
}

int THTMLPicture::hmHeight() const
{
    if (gpPicture.isNull())
        return 0;
    return mulDiv(gpPicture.height(), HimetricPerInch, imageDpi(gpPicture.dotsPerMeterY()));
}

int THTMLPicture::Width() const
{
    return mulDiv(hmWidth(), FLogPixX, HimetricPerInch);
}

int THTMLPicture::Height() const
{
    return mulDiv(hmHeight(), FLogPixY, HimetricPerInch);
}

void THTMLPicture::SetWidth(int) {}

void THTMLPicture::SetHeight(int) {}

int THTMLPicture::MaxWidth() const
{
    return FAnimMaxX > 0 ? FAnimMaxX : Width();
}

int THTMLPicture::MaxHeight() const
{
    return FAnimMaxY > 0 ? FAnimMaxY : Height();
}

bool THTMLPicture::IsGIF() const
{
    return FDatastream.size() >= 5 && FDatastream.startsWith("GIF8");
}

int THTMLPicture::FrameCount()
{
    if (!IsGIF())
        return -1;
    if (FFrameCount == -1) {
        const TBytes in(FDatastream);
        int count = 0;
        for (qsizetype i = 0; i < in.size(); ++i)
            if (in.frameStart(i))
                ++count;
        FFrameCount = count;
    }
    return FFrameCount;
}

int THTMLPicture::GetFrameTime(int i)
{
    if (!IsGIF() || i < 1)
        return -1;
    const TBytes in(FDatastream);
    int frame = 0;
    for (qsizetype p = 0; p < in.size(); ++p) {
        if (!in.frameStart(p) || ++frame < i)
            continue;
        const int packed = in.at(p + 3);
        FFrameTransp = (packed & 0x01) != 0;
        FFrameDisposal = (packed >> 2) & 0x07;
        return in.le16(p + 4);
    }
    return -1;
}

void THTMLPicture::SetFrame(int Value)
{
    FFrame = Value;
    if (FDatastream.isEmpty())
        return;
    decode();
    if (OnFrameChange)
        OnFrameChange(this);
}

void THTMLPicture::FrameNext()
{
    SetFrame(FFrame >= FrameCount() ? 1 : FFrame + 1);
}

void THTMLPicture::FramePrev()
{
    const int count = FrameCount();
    SetFrame(FFrame > 1 ? FFrame - 1 : (count > 0 ? count : 1));
}

bool THTMLPicture::Step()
{
    if (FIsEmpty || FrameCount() < 2)
        return false;
    if (FNextCount == -1)
        FNextCount = GetFrameTime(FFrame);
    bool result = false;
    // Each tick stands for 10 hundredths of a second.
    if (std::int64_t(FTimerCount) * 10 >= FNextCount) {
        FrameNext();
        FNextCount += GetFrameTime(FFrame);
        result = true;
    }
    ++FTimerCount;
    return result;
}

// ---- TDownLoadThread --------------------------------------------------------------------------

TDownLoadThread::TDownLoadThread(THTMLPicture *aHTMLPicture)
    : QThread(QCoreApplication::instance()), m_htmlPicture(aHTMLPicture)
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    start();
}

TDownLoadThread::~TDownLoadThread()
{
    // Freed with the application when no event loop ran after it ended.
    wait();
}

void TDownLoadThread::run() {}

// ---- TPictureItem, TPictureCollection, TPictureContainer --------------------------------------

TPictureItem::TPictureItem(TPictureCollection *Collection)
    : FPicture(std::make_unique<THTMLPicture>()), m_collection(Collection)
{}

TPictureItem::~TPictureItem() = default;

void TPictureItem::Assign(const TPersistent &Source)
{
    const auto *item = dynamic_cast<const TPictureItem *>(&Source);
    if (!item || item == this)
        return;
    FPicture->Assign(item->FPicture.get());
    FTag = item->FTag;
    FName = item->FName;
}

void TPictureItem::SetPicture(const THTMLPicture *Value)
{
    if (Value != FPicture.get())
        FPicture->Assign(Value);
}

TPictureCollection::TPictureCollection(TPictureContainer *AOwner) : FOwner(AOwner) {}

TPictureCollection::~TPictureCollection() = default;

TPictureItem *TPictureCollection::Add()
{
    return Insert(Count());
}

TPictureItem *TPictureCollection::Insert(int Index)
{
    Index = std::clamp(Index, 0, Count());
    auto item = std::make_unique<TPictureItem>(this);
    TPictureItem *result = item.get();
    m_items.insert(m_items.begin() + Index, std::move(item));
    return result;
}

TPictureItem *TPictureCollection::GetItem(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EQrlGridError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return m_items[std::size_t(Index)].get();
}

void TPictureCollection::SetItem(int Index, const TPictureItem &Value)
{
    GetItem(Index)->Assign(Value);
}

bool TPictureCollection::Animate()
{
    bool result = false;
    for (const auto &item : m_items)
        if (item->Picture()->Step())
            result = true;
    return result;
}

TPictureContainer::TPictureContainer(QObject *AOwner)
    : QObject(AOwner), FItems(std::make_unique<TPictureCollection>(this))
{}

TPictureContainer::~TPictureContainer() = default;

THTMLPicture *TPictureContainer::FindPicture(const QString &Name) const
{
    for (int i = 0; i < FItems->Count(); ++i) {
        TPictureItem *item = FItems->GetItem(i);
        if (item->Name().compare(Name, Qt::CaseInsensitive) == 0)
            return item->Picture();
    }
    return nullptr;
}

// ---- THTMLPictureCache ------------------------------------------------------------------------

THTMLPictureCache::~THTMLPictureCache() = default;

THTMLPicture *THTMLPictureCache::AddPicture()
{
    m_pictures.push_back(std::make_unique<THTMLPicture>());
    return m_pictures.back().get();
}

THTMLPicture *THTMLPictureCache::FindPicture(const QString &ID) const
{
    for (const auto &picture : m_pictures)
        if (picture->ID() == ID)
            return picture.get();
    return nullptr;
}

THTMLPicture *THTMLPictureCache::GetPicture(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EQrlGridError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return m_pictures[std::size_t(Index)].get();
}

void THTMLPictureCache::SetPicture(int Index, std::unique_ptr<THTMLPicture> Value)
{
    GetPicture(Index);
    m_pictures[std::size_t(Index)] = std::move(Value);
}

void THTMLPictureCache::ClearPictures()
{
    m_pictures.clear();
}

bool THTMLPictureCache::Animate()
{
    bool result = false;
    for (const auto &picture : m_pictures)
        if (picture && picture->Step())
            result = true;
    return result;
}

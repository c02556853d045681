// Pictures of the mini-HTML markup: a picture that keeps its file's bytes and steps through the
// frames of an animated GIF, the named pictures of a picture container, and the cache of
// pictures loaded by location that every grid owns.
//
// Decoding goes through DecodePictureData (BMP, JPEG, GIF, ICO and whatever Qt reads); metafiles
// have no decoder here, so such a picture raises the decoding error and stays undrawn.
#pragma once

#include "grid/model/QrlGridTypes.h"
#include "platform/ui/Geometry.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QThread>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class TCanvas;
class THTMLPicture;

using THTMLPictureEvent = std::function<void(THTMLPicture *Sender)>;

class THTMLPicture : public TPersistent
{
public:
    THTMLPicture();
    ~THTMLPicture() override;

    // Empties the picture and resets the frames; from another picture copies its bytes and
    // decodes them. A null or other source leaves an empty picture.
    void Assign(const TPersistent &Source) override;
    void Assign(const TPersistent *Source);

    // Any failure leaves the picture empty without an error.
    void LoadFromFile(const QString &FileName);
    // The whole stream from its start; decoding errors raise EQrlGridError. Null: nothing.
    void LoadFromStream(QIODevice *Stream);
    void SaveToStream(QIODevice *Stream) const;
    // The stored form data: the rest of the reader's stream, and the bytes unchanged.
    void ReadData(QIODevice *Stream);
    void WriteData(QIODevice *Stream) const;
    // Raw-data resources are Qt resources: ResName (or the decimal ResID) under the root
    // Instance, ":/" when empty. A missing resource leaves the picture as it is.
    void LoadFromResourceName(const QString &Instance, const QString &ResName);
    void LoadFromResourceID(const QString &Instance, int ResID);
    // RES:// and FILE:// locations load; others are left for a download that loads nothing.
    void LoadFromURL(const QString &url);
    // The clipboard formats are not supported: both do nothing.
    void
    LoadFromClipboardFormat(std::uint16_t AFormat, std::uintptr_t AData, std::uintptr_t APalette);
    void SaveToClipboardFormat(std::uint16_t &AFormat,
                               std::uintptr_t &AData,
                               std::uintptr_t &APalette) const;

    void Draw(TCanvas &Canvas, const TRect &Rect) const;

    // Pixels at FLogPixX/FLogPixY of the picture's size in 0.01 mm; setting does nothing.
    int Width() const;
    int Height() const;
    void SetWidth(int Value);
    void SetHeight(int Value);
    // The GIF logical screen when known, else Width/Height.
    int MaxWidth() const;
    int MaxHeight() const;
    bool Empty() const { return FIsEmpty; }

    bool Stretch() const { return FStretched; }
    void SetStretch(bool Value) { FStretched = Value; }
    QString ID() const { return FID; }
    void SetID(const QString &Value) { FID = Value; }
    bool IsDB() const { return FIsDB; }
    void SetIsDB(bool Value) { FIsDB = Value; }
    bool Asynch() const { return FAsynch; }
    void SetAsynch(bool Value) { FAsynch = Value; }
    bool Busy() const { return FThreadBusy; }
    // The location given for a download.
    QString URL() const { return FURL; }

    // Frames count from 1.
    int Frame() const { return FFrame; }
    void SetFrame(int Value);
    void FrameNext();
    void FramePrev();
    // Frame starts in the data; -1 for data that is not a GIF.
    int FrameCount();
    bool IsGIF() const;
    // Delay of frame i in 1/100 s, -1 for a non-GIF or a missing frame.
    int FrameTime(int i) { return GetFrameTime(i); }
    int GetFrameTime(int i);
    int FrameXPos() const { return FFrameXPos; }
    int FrameYPos() const { return FFrameYPos; }
    bool FrameTransparent() const { return FFrameTransp; }
    int FrameDisposal() const { return FFrameDisposal; }
    // One animation tick of 1/10 s: True when the frame changed.
    bool Step();

    // The decoded picture of the current frame; null when empty.
    const QImage &Picture() const { return gpPicture; }

    THTMLPictureEvent OnChange;
    THTMLPictureEvent OnFrameChange;
    // Never fired: the download loads nothing.
    std::function<void(THTMLPicture *Sender, std::uint32_t dwSize, std::uint32_t dwTotSize)>
        OnDownLoadProgress;
    std::function<void(THTMLPicture *Sender, bool &Cancel)> OnDownLoadCancel;
    THTMLPictureEvent OnDownLoadComplete;
    std::function<void(THTMLPicture *Sender, const QString &err)> OnDownLoadError;

private:
    void loadBytes(const QByteArray &Data);
    void clear();
    void resetFrames();
    void decode();
    void changed();
    // Size of the decoded picture in 0.01 mm.
    int hmWidth() const;
    int hmHeight() const;

    QByteArray FDatastream;
    bool FIsEmpty = true;
    bool FStretched = false;
    QImage gpPicture;
    int FLogPixX = 96;
    int FLogPixY = 96;
    QString FURL;
    QString FID;
    bool FIsDB = false;
    bool FAsynch = true;
    bool FThreadBusy = false;
    int FFrame = 1;
    int FFrameCount = -1;
    std::uint16_t FFrameXPos = 0;
    std::uint16_t FFrameYPos = 0;
    std::uint16_t FFrameXSize = 0;
    std::uint16_t FFrameYSize = 0;
    bool FFrameTransp = false;
    int FFrameDisposal = 0;
    std::uint16_t FAnimMaxX = 0;
    std::uint16_t FAnimMaxY = 0;
    int FNextCount = -1;
    int FTimerCount = -1;
};

// Started by LoadFromURL for a web location; its work is empty. It starts running when made
// and deletes itself once it has ended (a child of the application until then).
class TDownLoadThread : public QThread
{
    Q_OBJECT
public:
    explicit TDownLoadThread(THTMLPicture *aHTMLPicture);
    ~TDownLoadThread() override;
    THTMLPicture *HTMLPicture() const { return m_htmlPicture; }

protected:
    void run() override;

private:
    THTMLPicture *m_htmlPicture;
};

class TPictureCollection;

class TPictureItem : public TPersistent
{
public:
    explicit TPictureItem(TPictureCollection *Collection = nullptr);
    ~TPictureItem() override;

    // Picture, Tag and Name.
    void Assign(const TPersistent &Source) override;

    THTMLPicture *Picture() const { return FPicture.get(); }
    // Copies the picture.
    void SetPicture(const THTMLPicture *Value);
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    QString Name() const { return FName; }
    void SetName(const QString &Value) { FName = Value; }
    TPictureCollection *Collection() const { return m_collection; }

private:
    std::unique_ptr<THTMLPicture> FPicture;
    int FTag = 0;
    QString FName;
    TPictureCollection *m_collection;
};

class TPictureContainer;

class TPictureCollection
{
public:
    explicit TPictureCollection(TPictureContainer *AOwner);
    ~TPictureCollection();
    TPictureCollection(const TPictureCollection &) = delete;
    TPictureCollection &operator=(const TPictureCollection &) = delete;

    TPictureItem *Add();
    // Index clamped to 0 .. Count.
    TPictureItem *Insert(int Index);
    int Count() const { return int(m_items.size()); }
    // An index outside the collection raises EQrlGridError.
    TPictureItem *GetItem(int Index) const;
    // Copies Value into the item at Index.
    void SetItem(int Index, const TPictureItem &Value);
    TPictureItem *Items(int Index) const { return GetItem(Index); }
    // Step on every picture; True when any changed its frame.
    bool Animate();
    TPictureContainer *Owner() const { return FOwner; }

private:
    TPictureContainer *FOwner;
    std::vector<std::unique_ptr<TPictureItem>> m_items;
};

class TPictureContainer : public QObject
{
    Q_OBJECT
public:
    explicit TPictureContainer(QObject *AOwner = nullptr);
    ~TPictureContainer() override;

    TPictureCollection &Items() { return *FItems; }
    const TPictureCollection &Items() const { return *FItems; }
    // The picture of the first item of that name, ignoring case; null when none.
    virtual THTMLPicture *FindPicture(const QString &Name) const;

private:
    std::unique_ptr<TPictureCollection> FItems;
};

// Pictures loaded by location; owns them.
class THTMLPictureCache
{
public:
    THTMLPictureCache() = default;
    ~THTMLPictureCache();
    THTMLPictureCache(const THTMLPictureCache &) = delete;
    THTMLPictureCache &operator=(const THTMLPictureCache &) = delete;

    // A new empty picture at the end.
    THTMLPicture *AddPicture();
    // The first picture with exactly that ID; null when none.
    THTMLPicture *FindPicture(const QString &ID) const;
    int Count() const { return int(m_pictures.size()); }
    // An index outside the list raises EQrlGridError.
    THTMLPicture *GetPicture(int Index) const;
    // Takes Value and frees the picture it replaces.
    void SetPicture(int Index, std::unique_ptr<THTMLPicture> Value);
    void ClearPictures();
    bool Animate();

private:
    std::vector<std::unique_ptr<THTMLPicture>> m_pictures;
};

#include "shell/USoftOptions.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "common/button/LbButton.h"
#include "platform/os/Files.h"
#include "platform/os/Shell.h"
#include "platform/ui/MessageBox.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>

#include <algorithm>

namespace {

constexpr int kClientWidth = 509;
constexpr int kClientHeight = 373;
constexpr int kFlagSize = 48;

const QString kLanguageExtension = QStringLiteral(".lng");
const QString kFlagExtension = QStringLiteral(".bmp");
const QString kDefaultFlag = QStringLiteral("DefaultFlag.bmp");

struct SlotPlace
{
    int imageLeft, imageTop, labelLeft, labelTop;
};

constexpr SlotPlace kSlots[TFSoftOptions::Langs_Per_Page] = {
    {24, 40, 80, 56},   {26, 94, 80, 110},   {24, 148, 80, 164},
    {254, 40, 310, 56}, {254, 94, 310, 110}, {254, 148, 310, 164},
};

// A small arrow for the paging buttons, on the key colour the push button leaves out.
QImage pagingArrow(bool right)
{
    QImage img(12, 12, QImage::Format_RGB32);
    img.fill(ToQColor(LbTransparentKey));
    QPainter p(&img);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const QPolygon shape = right ? QPolygon({QPoint(3, 1), QPoint(9, 6), QPoint(3, 11)})
                                 : QPolygon({QPoint(9, 1), QPoint(3, 6), QPoint(9, 11)});
    p.drawPolygon(shape);
    return img;
}

// Plain language files only: links and files marked read-only are left out, hidden ones count.
bool isListedLanguageFile(const QFileInfo &info)
{
    return info.isFile() && !info.isSymLink() && (info.permissions() & QFileDevice::WriteOwner);
}

// The file name without its extension (the last four characters, ".lng").
QString languageNameOf(const QString &fileName)
{
    return fileName.left(std::max<qsizetype>(0, fileName.size() - 4));
}

// The flag bitmap; null when the file is missing or not a readable bitmap.
QPixmap loadFlag(const QString &path)
{
    if (!plat::FileExists(path))
        return QPixmap();
    QImage image;
    if (!image.load(path, "BMP"))
        return QPixmap();
    return QPixmap::fromImage(image);
}

} // namespace

TFSoftOptions::TFSoftOptions(QWidget *parent) : TTitledForm(QStringLiteral("FSoftOptions"), parent)
{
    const TButtonPanel buttons = Build_Button_Panel(this, kClientWidth, kClientHeight);
    P_Button = buttons.P_Button;
    Btn_OK = buttons.Btn_OK;
    Btn_Cancel = buttons.Btn_Cancel;
    // OK stores first and closes itself.
    Btn_OK->OnClick = [this](QObject *) { Btn_OKClick(); };

    PC_Options = new QTabWidget(this);
    PC_Options->setObjectName(QStringLiteral("PC_Options"));
    PC_Options->setGeometry(4, Title_Panel_Height, kClientWidth - 8,
                            kClientHeight - Button_Panel_Height - Title_Panel_Height);

    // Language page.
    TS_Language = new QWidget;
    TS_Language->setObjectName(QStringLiteral("TS_Language"));
    L_Sel_Lang = new QLabel(TS_Language);
    L_Sel_Lang->setObjectName(QStringLiteral("L_Sel_Lang"));
    L_Sel_Lang->move(12, 11);
    for (int k = 0; k < Langs_Per_Page; ++k) {
        const SlotPlace &place = kSlots[k];
        QLabel *image = new QLabel(TS_Language);
        image->setObjectName(QStringLiteral("I_L%1").arg(k + 1));
        image->setGeometry(place.imageLeft, place.imageTop, kFlagSize, kFlagSize);
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        image->installEventFilter(this);
        I_L[k] = image;

        QLabel *label = new QLabel(TS_Language);
        label->setObjectName(QStringLiteral("L_L%1").arg(k + 1));
        label->move(place.labelLeft, place.labelTop);
        label->installEventFilter(this);
        L_L[k] = label;
    }
    Btn_Prev = new TLbButton(TS_Language);
    Btn_Prev->setObjectName(QStringLiteral("Btn_Prev"));
    Btn_Prev->setGeometry(12, 204, 110, 28);
    Btn_Prev->SetGlyph(pagingArrow(false));
    L_Page_Lang = new QLabel(TS_Language);
    L_Page_Lang->setObjectName(QStringLiteral("L_Page_Lang"));
    L_Page_Lang->move(220, 212);
    Btn_Next = new TLbButton(TS_Language);
    Btn_Next->setObjectName(QStringLiteral("Btn_Next"));
    Btn_Next->setGeometry(379, 205, 110, 28);
    Btn_Next->SetGlyph(pagingArrow(true));
    Btn_Next->SetLayout(TLbButtonLayout::blGlyphRight);
    for (TLbButton *button : {Btn_Prev, Btn_Next}) {
        button->SetNumGlyphs(1);
        Style_Push_Button(button);
        button->OnClick = [this](QObject *sender) { Btn_NextClick(sender); };
    }
    PC_Options->addTab(TS_Language, QString());

    // Connection page.
    TS_Con_Options = new QWidget;
    TS_Con_Options->setObjectName(QStringLiteral("TS_Con_Options"));
    CB_En_Con = new QCheckBox(TS_Con_Options);
    CB_En_Con->setObjectName(QStringLiteral("CB_En_Con"));
    CB_En_Con->move(16, 16);
    CB_Update = new QCheckBox(TS_Con_Options);
    CB_Update->setObjectName(QStringLiteral("CB_Update"));
    CB_Update->move(40, 42);
    Btn_Check_Update = new TLbButton(TS_Con_Options);
    Btn_Check_Update->setObjectName(QStringLiteral("Btn_Check_Update"));
    Btn_Check_Update->setGeometry(16, 80, 220, 28);
    Style_Push_Button(Btn_Check_Update);
    Btn_Check_Update->OnClick = [this](QObject *) { Btn_Check_UpdateClick(); };
    LL_Check_Update = new QLabel(TS_Con_Options);
    LL_Check_Update->setObjectName(QStringLiteral("LL_Check_Update"));
    LL_Check_Update->move(16, 122);
    LL_Check_Update->setOpenExternalLinks(false);
    LL_Check_Update->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(LL_Check_Update, &QLabel::linkActivated, this,
            [this](const QString &link) { LL_Check_UpdateLinkClick(link); });
    PC_Options->addTab(TS_Con_Options, QString());

    // Software page.
    TS_Soft_Settings = new QWidget;
    TS_Soft_Settings->setObjectName(QStringLiteral("TS_Soft_Settings"));
    CB_Soft_Set_Jump_Table = new QCheckBox(TS_Soft_Settings);
    CB_Soft_Set_Jump_Table->setObjectName(QStringLiteral("CB_Soft_Set_Jump_Table"));
    CB_Soft_Set_Jump_Table->move(16, 16);
    CB_DoubleClick_Auto_Size = new QCheckBox(TS_Soft_Settings);
    CB_DoubleClick_Auto_Size->setObjectName(QStringLiteral("CB_DoubleClick_Auto_Size"));
    CB_DoubleClick_Auto_Size->move(16, 42);
    PC_Options->addTab(TS_Soft_Settings, QString());
    // The style paints the tab pane lighter than a window; the pages fill with the background
    // of every other window.
    for (QWidget *page : {TS_Language, TS_Con_Options, TS_Soft_Settings})
        page->setAutoFillBackground(true);

    // Setting a check box from code runs the rule as a click does.
    for (QCheckBox *box : {CB_En_Con, CB_Update, CB_Soft_Set_Jump_Table, CB_DoubleClick_Auto_Size})
        connect(box, &QCheckBox::toggled, this, [this] { CB_En_ConClick(); });

    SetClientSize(kClientWidth, kClientHeight);
    FormCreate();
}

TFSoftOptions::~TFSoftOptions() = default;

void TFSoftOptions::FormCreate()
{
    SL_Languages.clear();
    L_SW_Code->setText(SW_Code);
    L_SW_Code->adjustSize();
    PC_Options->setCurrentWidget(TS_Con_Options);
    Set_Lang();
}

void TFSoftOptions::FormShow()
{
    Language_In_Use = Language_Name;
    Create_Lang_List();
    Update_CheckBox();
    LL_Check_Update->hide();
    PC_Options->setCurrentWidget(TS_Language);
    CB_En_Con->setChecked(Enable_Internet);
    CB_Update->setChecked(Enable_Update);
    CB_Soft_Set_Jump_Table->setChecked(Enable_Jump_Fields);
    CB_DoubleClick_Auto_Size->setChecked(Enable_DblClick_AutoSize);
}

void TFSoftOptions::Set_Lang()
{
    Set_Title_Texts(300, 301);
    PC_Options->setTabText(PC_Options->indexOf(TS_Language), Lang_Text(302));
    PC_Options->setTabText(PC_Options->indexOf(TS_Con_Options), Lang_Text(303));
    PC_Options->setTabText(PC_Options->indexOf(TS_Soft_Settings), Lang_Text(319));
    L_Sel_Lang->setText(Lang_Text(304));
    L_Sel_Lang->adjustSize();
    L_Page_Lang->setText(Lang_Text(305) + QStringLiteral("1") + Lang_Text(306) +
                         QStringLiteral("1"));
    L_Page_Lang->adjustSize();
    Btn_Prev->SetCaption(Lang_Text(307));
    Btn_Next->SetCaption(Lang_Text(308));
    CB_En_Con->setText(Lang_Text(309));
    CB_En_Con->adjustSize();
    CB_Update->setText(Lang_Text(310));
    CB_Update->adjustSize();
    Btn_Check_Update->SetCaption(Lang_Text(311));
    Btn_OK->SetCaption(Lang_Text(312));
    Btn_Cancel->SetCaption(Lang_Text(313));
    CB_Soft_Set_Jump_Table->setText(Lang_Text(320));
    CB_Soft_Set_Jump_Table->adjustSize();
    CB_DoubleClick_Auto_Size->setText(Lang_Text(321));
    CB_DoubleClick_Auto_Size->adjustSize();
}

void TFSoftOptions::Create_Lang_List()
{
    SL_Languages.clear();
    const QDir dir(Language_Path);
    if (!Language_Path.isEmpty() && dir.exists()) {
        const QFileInfoList entries =
            dir.entryInfoList(QStringList{QStringLiteral("*") + kLanguageExtension},
                              QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
        for (const QFileInfo &info : entries) {
            if (isListedLanguageFile(info))
                SL_Languages.append(info.fileName());
        }
    }
    std::stable_sort(
        SL_Languages.begin(), SL_Languages.end(),
        [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    Show_Page = 1;
    Update_Lang_Page(Show_Page);
}

int32_t TFSoftOptions::Page_Count() const
{
    return (static_cast<int32_t>(SL_Languages.size()) + Langs_Per_Page - 1) / Langs_Per_Page;
}

void TFSoftOptions::Update_Lang_Page(int32_t Num_Page)
{
    const int32_t count = static_cast<int32_t>(SL_Languages.size());
    const int32_t pages = Page_Count();

    L_Sel_Lang->setText(Lang_Text(304) + Language_In_Use);
    L_Sel_Lang->adjustSize();
    L_Page_Lang->setText(Lang_Text(305) + QString::number(Num_Page) + Lang_Text(306) +
                         QString::number(pages));
    L_Page_Lang->adjustSize();

    Btn_Prev->setVisible(Num_Page != 1);
    Btn_Next->setVisible(Num_Page != pages);

    const int32_t first = (Num_Page - 1) * Langs_Per_Page;
    const int32_t onPage = std::min<int32_t>(count - first, Langs_Per_Page);
    for (int k = 1; k <= Langs_Per_Page; ++k) {
        QLabel *image = I_L[k - 1];
        QLabel *label = L_L[k - 1];
        if (k > onPage) {
            image->hide();
            label->hide();
            continue;
        }
        const QString name = languageNameOf(SL_Languages[first + k - 1]);
        label->setText(name);
        label->adjustSize();
        label->show();

        // The language's own flag when there is one, else the common one.
        const QString ownFlag = plat::FindFileNoCase(Language_Path, name + kFlagExtension);
        const QString defaultFlag = plat::FindFileNoCase(Language_Path, kDefaultFlag);
        QPixmap flag;
        if (!ownFlag.isEmpty())
            flag = loadFlag(ownFlag);
        else if (!defaultFlag.isEmpty())
            flag = loadFlag(defaultFlag);
        // A bitmap that cannot be read shows nothing rather than stopping the page.
        image->setPixmap(flag);
        image->setVisible(!flag.isNull());
    }
}

void TFSoftOptions::Btn_NextClick(QObject *Sender)
{
    if (Sender == Btn_Next) {
        if (Page_Count() >= Show_Page + 1)
            ++Show_Page;
    } else if (Sender == Btn_Prev) {
        if (Show_Page - 1 > 0)
            --Show_Page;
    }
    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::LangClick(int slot)
{
    const qsizetype index = qsizetype(Show_Page - 1) * Langs_Per_Page + slot - 1;
    if (slot < 1 || slot > Langs_Per_Page || index < 0 || index >= SL_Languages.size())
        return;
    const QString name = languageNameOf(SL_Languages[index]);

    const QString question =
        Lang_Text(316) + Language_In_Use + Lang_Text(317) + name + Lang_Text(318);
    if (plat::MessageBox(question, plat::MsgIcon::Question, plat::MsgButtons::YesNo) != mrYes)
        return;

    Language_In_Use = name;
    // Only the texts change now; Language_Name stays until OK makes the choice lasting.
    QString loaded = name;
    Load_Language(Language_Path, loaded);

    if (OnLanguageChanged)
        OnLanguageChanged();
    else
        Set_Lang();

    Update_Lang_Page(Show_Page);
}

void TFSoftOptions::Update_CheckBox()
{
    CB_Update->setEnabled(CB_En_Con->isChecked());
    Btn_Check_Update->SetEnabled(CB_Update->isEnabled() && CB_Update->isChecked());
}

void TFSoftOptions::CB_En_ConClick()
{
    Update_CheckBox();
}

void TFSoftOptions::Btn_Check_UpdateClick()
{
    if (Check_Version(Version_Base_Address)) {
        LL_Check_Update->setTextFormat(Qt::RichText);
        LL_Check_Update->setText(Download_Link(Lang_Text(314)));
    } else {
        LL_Check_Update->setTextFormat(Qt::PlainText);
        LL_Check_Update->setText(Lang_Text(315));
    }
    LL_Check_Update->adjustSize();
    LL_Check_Update->show();
}

void TFSoftOptions::LL_Check_UpdateLinkClick(const QString &link)
{
    // A link the desktop cannot open is not reported.
    plat::ShellOpen(link);
}

void TFSoftOptions::Btn_OKClick()
{
    Language_Name = Language_In_Use;
    Enable_Internet = CB_En_Con->isChecked();
    // Kept as ticked even while internet access is off and the box is disabled.
    Enable_Update = CB_Update->isChecked();
    if (OnTimerRule)
        OnTimerRule(Enable_Internet && Enable_Update);
    Enable_Jump_Fields = CB_Soft_Set_Jump_Table->isChecked();
    Enable_DblClick_AutoSize = CB_DoubleClick_Auto_Size->isChecked();
    SetModalResult(mrOk);
}

bool TFSoftOptions::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && mouse->button() == Qt::LeftButton &&
            widget->rect().contains(mouse->position().toPoint())) {
            for (int k = 0; k < Langs_Per_Page; ++k) {
                if (watched == I_L[k] || watched == L_L[k]) {
                    LangClick(k + 1);
                    return true;
                }
            }
        }
    }
    return TTitledForm::eventFilter(watched, event);
}

#include "shell/UOpenConf.h"

#include "common/UComon.h"
#include "common/button/LbButton.h"
#include "platform/os/Files.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QResizeEvent>

namespace {

constexpr int kClientWidth = 377;
constexpr int kClientHeight = 351;

// The name of the open configuration: Conf_Path below Projects_Path; empty when none is open.
QString openConfigurationName()
{
    if (Conf_Path.isEmpty())
        return QString();
    const QString prefix = plat::JoinPath(Projects_Path, QString());
    if (!Conf_Path.startsWith(prefix))
        return QString();
    return Conf_Path.mid(prefix.size());
}

} // namespace

TFOpenConf::TFOpenConf(QWidget *parent) : TTitledForm(QStringLiteral("FOpenConf"), parent)
{
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(16, 76);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
        // Moving through the list with the keys chooses as a click does.
        if (row >= 0)
            ListBox1Click();
    });

    // The panel follows the window's lower edge in placeControls.
    const TButtonPanel buttons = Build_Button_Panel(this, kClientWidth, kClientHeight);
    P_Button = buttons.P_Button;
    Btn_OK = buttons.Btn_OK;
    Btn_Cancel = buttons.Btn_Cancel;
    Btn_OK->SetModalResult(mrOk);

    FormCreate();
}

TFOpenConf::~TFOpenConf() = default;

void TFOpenConf::FormCreate()
{
    L_SW_Code->setText(SW_Code);
    L_SW_Code->adjustSize();
    // The list grows with the window, so only a lower limit is fixed.
    setMinimumSize(300, 250);
    resize(kClientWidth, kClientHeight);
    placeControls();
    Set_Lang();
}

void TFOpenConf::Load_Existing_Configuration()
{
    SL.clear();
    const QDir dir(Projects_Path);
    if (Projects_Path.isEmpty() || !dir.exists())
        return;
    SL = dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Unsorted);
}

int TFOpenConf::Search_Open_Conf(const QString &name) const
{
    for (int i = 0; i < SL.size(); ++i) {
        if (SL[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void TFOpenConf::FormShow()
{
    Load_Existing_Configuration();
    ListBox1->clear();
    ListBox1->addItems(SL);

    const int open = Search_Open_Conf(openConfigurationName());
    const int chosen = open >= 0 ? open : (SL.isEmpty() ? -1 : 0);
    if (chosen >= 0) {
        ListBox1->setCurrentRow(chosen);
        Name_Conf = SL[chosen];
    } else {
        Name_Conf.clear();
    }
    ListBox1->setFocus();
}

void TFOpenConf::ListBox1Click()
{
    if (QListWidgetItem *item = ListBox1->currentItem())
        Name_Conf = item->text();
}

void TFOpenConf::Set_Lang()
{
    Set_Title_Texts(200, 201);
    Label1->setText(Lang_Text(202));
    Label1->adjustSize();
    Btn_OK->SetCaption(Lang_Text(203));
    Btn_Cancel->SetCaption(Lang_Text(204));
    ListBox1->setToolTip(Lang_Text(205));
    Btn_OK->SetHint(Lang_Text(206));
    Btn_Cancel->SetHint(Lang_Text(207));
}

void TFOpenConf::resizeEvent(QResizeEvent *event)
{
    TTitledForm::resizeEvent(event);
    placeControls();
}

void TFOpenConf::placeControls()
{
    const int w = width();
    const int h = height();
    P_Button->setGeometry(0, h - Button_Panel_Height, w, Button_Panel_Height);
    ListBox1->setGeometry(16, 93, w - 32, h - Button_Panel_Height - 8 - 93);
}

#include "shell/UNew_Project.h"

#include "common/UComon.h"
#include "common/button/LbButton.h"
#include "platform/os/Files.h"
#include "platform/ui/MessageBox.h"

#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int kClientWidth = 331;
constexpr int kClientHeight = 162;

void errorBox(int text)
{
    plat::MessageBox(Lang_Text(text), plat::MsgIcon::Error, plat::MsgButtons::OK);
}

// A name that would leave PROJECTS or point at it: a path separator of either system, or one
// of the two relative folder names.
bool leavesProjects(const QString &name)
{
    return name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
           name == QLatin1String(".") || name == QLatin1String("..");
}

} // namespace

TFNew_Project::TFNew_Project(QWidget *parent) : TTitledForm(QStringLiteral("FNew_Project"), parent)
{
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(16, 78);

    E_New_Proj = new QLineEdit(this);
    E_New_Proj->setObjectName(QStringLiteral("E_New_Proj"));
    E_New_Proj->setGeometry(16, 95, kClientWidth - 32, 21);
    // Enter in the name field confirms, as the OK button does.
    connect(E_New_Proj, &QLineEdit::returnPressed, this, [this] { Btn_OKClick(); });

    const TButtonPanel buttons = Build_Button_Panel(this, kClientWidth, kClientHeight);
    P_Button = buttons.P_Button;
    Btn_OK = buttons.Btn_OK;
    Btn_Cancel = buttons.Btn_Cancel;
    Btn_OK->OnClick = [this](QObject *) { Btn_OKClick(); };

    FormCreate();
}

TFNew_Project::~TFNew_Project() = default;

void TFNew_Project::FormCreate()
{
    L_SW_Code->setText(SW_Code);
    L_SW_Code->adjustSize();
    SetClientSize(kClientWidth, kClientHeight);
    Set_Lang();
}

void TFNew_Project::FormShow()
{
    E_New_Proj->clear();
    E_New_Proj->setFocus();
}

void TFNew_Project::Btn_OKClick()
{
    const QString name = E_New_Proj->text();
    if (name.isEmpty()) {
        errorBox(107);
        return;
    }
    // Taken unchecked, such a name would put a configuration outside PROJECTS.
    if (leavesProjects(name)) {
        errorBox(105);
        return;
    }
    const QString folder = plat::JoinPath(Projects_Path, name);
    if (plat::DirExists(folder)) {
        errorBox(106);
        return;
    }
    if (!plat::CreateDir(folder)) {
        errorBox(105);
        return;
    }
    plat::ForceDirectories(plat::JoinPath(folder, QStringLiteral("bin")));
    Conf_Name = name;
    Conf_Path = folder;
    ::Set_Files();
    SetModalResult(mrOk);
}

void TFNew_Project::Set_Lang()
{
    Set_Title_Texts(100, 101);
    Label1->setText(Lang_Text(102));
    Label1->adjustSize();
    Btn_OK->SetCaption(Lang_Text(103));
    Btn_Cancel->SetCaption(Lang_Text(104));
    E_New_Proj->setToolTip(Lang_Text(108));
    Btn_OK->SetHint(Lang_Text(109));
    Btn_Cancel->SetHint(Lang_Text(110));
}

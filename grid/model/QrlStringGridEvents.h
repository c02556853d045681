// The string grid's event types: what its per-cell hooks, editors, scrolling, printing and
// filters hand to the handlers a user sets. The events every grid shares live in QrlGridTypes.h.
#pragma once

#include "grid/model/QrlGridTypes.h"
#include "grid/model/QrlStringGridTypes.h"

#include <QString>
#include <Qt>

#include <functional>

class QObject;
class TEditLink;

using TNotifyEvent = std::function<void(QObject *Sender)>;
using TSearchFooterActionEvent = std::function<void(
    QObject *Sender, const QString &Value, int ACol, int ARow, TSearchFooterAction SearchAction)>;
using TCellCursorEvent = std::function<void(
    QObject *Sender, int ACol, int ARow, int X, int Y, Qt::CursorShape &ACursor)>;
using TGridWideHintEvent =
    std::function<void(QObject *Sender, int ARow, int ACol, QString &hintstr)>;
using TIsFixedCellEvent = std::function<void(QObject *Sender, int ARow, int ACol, bool &IsFixed)>;
using TIsPasswordCellEvent =
    std::function<void(QObject *Sender, int ARow, int ACol, bool &IsPassword)>;
using TWordWrapEvent = std::function<void(QObject *Sender, int ACol, int ARow, bool &WordWrap)>;
using THasComboEvent = std::function<void(QObject *Sender, int ACol, int ARow, bool &HasComboBox)>;
using THasSpinEditEvent =
    std::function<void(QObject *Sender, int ACol, int ARow, bool &HasSpinEdit)>;
using TGetCheckEvent = std::function<void(QObject *Sender, int ACol, int ARow, QString &Value)>;
using TCellsChangedEvent = std::function<void(QObject *Sender, const plat::TGridRect &R)>;
using TRatingChangeEvent =
    std::function<void(QObject *Sender, int ACol, int ARow, int Value, bool &Allow)>;
using TCanShowFixedDropDownEvent =
    std::function<void(QObject *Sender, int ACol, int ARow, bool &Allow)>;
using TScrollCellEvent = std::function<void(
    QObject *Sender, int ACol, int ARow, int ScrollPosition, int ScrollMin, int ScrollMax)>;
using TCellChangingEvent = std::function<void(
    QObject *Sender, int OldRow, int OldCol, int NewRow, int NewCol, bool &Allow)>;
using TGridResizeEvent = TNotifyEvent;
using TRowChangingEvent = std::function<void(QObject *Sender, int OldRow, int NewRow, bool &Allow)>;
using TColChangingEvent = std::function<void(QObject *Sender, int OldCol, int NewCol, bool &Allow)>;
using TPrintPageNumEvent = std::function<void(QObject *Sender, int PageNum, QString &PageString)>;
using TGetEditorPropEvent =
    std::function<void(QObject *Sender, int ACol, int ARow, TEditLink *AEditLink)>;
using TGetEditorPropIntEvent = std::function<void(QObject *Sender, int ACol, int ARow)>;
using TColumnCalcEvent =
    std::function<void(QObject *Sender, int ACol, int FromRow, int ToRow, double &Res)>;
using TCellSaveLoadEvent = std::function<void(QObject *Sender, int ACol, int ARow, QString &Value)>;
using TFilterSelectEvent = std::function<void(QObject *Sender,
                                              int Column,
                                              int ItemIndex,
                                              const QString &FriendlyName,
                                              QString &FilterCondition)>;

#pragma once
// Enumerations of forms and panels, registered with the meta-object system so that stored forms and editors
// read and write them by name.
#include <QFlags>
#include <QObject>

namespace vte {
inline namespace form_types {
Q_NAMESPACE

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
Q_ENUM_NS(TFormBorderStyle)

enum TBorderIcon { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
Q_DECLARE_FLAGS(TBorderIcons, TBorderIcon)
Q_FLAG_NS(TBorderIcons)

enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter
};
Q_ENUM_NS(TPosition)

enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
Q_ENUM_NS(TFormStyle)

enum TWindowState { wsNormal, wsMinimized, wsMaximized };
Q_ENUM_NS(TWindowState)

enum TCloseAction { caNone, caHide, caFree, caMinimize };
Q_ENUM_NS(TCloseAction)

// A panel's bevel: none, sunk, raised, or an empty band of the bevel's width.
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
Q_ENUM_NS(TBevelCut)

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)

// Where a form container places a form it shows (fcfaDefault: as the form itself asks).
enum TFCFormAlign { fcfaDefault, fcfaNone, fcfaCenter, fcfaClient, fcfaTopLeft, fcfaMainFormCenter };
Q_ENUM_NS(TFCFormAlign)

}  // namespace form_types
}  // namespace vte

Q_DECLARE_OPERATORS_FOR_FLAGS(vte::TBorderIcons)

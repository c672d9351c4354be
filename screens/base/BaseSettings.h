// The per-user settings of the base-record screens, kept with QSettings in
// the section the engine's callers read them from.
#pragma once

// "EmpSort" of "Settings/ks770gz_Para": true orders the roster's employees
// by sort number, false by code. Default true.
bool empSortSetting();
void setEmpSortSetting(bool bySortNo);

#include "screens/base/BaseSettings.h"

#include <QSettings>

namespace {
const char* kKey = "Settings/ks770gz_Para/EmpSort";
}

bool empSortSetting() {
    return QSettings().value(kKey, true).toBool();
}

void setEmpSortSetting(bool bySortNo) {
    QSettings().setValue(kKey, bySortNo);
}

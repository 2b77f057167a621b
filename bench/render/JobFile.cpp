#include "JobFile.h"

#include <QFileInfo>
#include <QSettings>
#include <cmath>
#include <limits>

#include "state/AppState.h"
#include "store/SettingsStore.h"

namespace {

// A number that does not fit its field is refused (the field keeps its
// start value), as the settings store refuses it.
template <typename T> void take(const QSettings& s, const char* key, T& field)
{
    if (!s.contains(key))
        return;
    const QVariant v = s.value(key);
    bool ok = true;
    if constexpr (std::is_same_v<T, QString>) {
        field = v.toString();
    } else if constexpr (std::is_same_v<T, bool>) {
        field = v.toString() == QLatin1String("True") || v.toInt() != 0;
    } else if constexpr (std::is_floating_point_v<T>) {
        const double d = v.toDouble(&ok);
        if (ok && std::isfinite(d) && std::fabs(d) <= double(std::numeric_limits<T>::max()))
            field = T(d);
    } else {
        const qlonglong n = v.toLongLong(&ok);
        if (ok && n >= qlonglong(std::numeric_limits<T>::min()) && n <= qlonglong(std::numeric_limits<T>::max()))
            field = T(n);
    }
}

} // namespace

bool loadJob(const QString& path, AppState& st, QString& error)
{
    if (!QFileInfo(path).isReadable()) {
        error = QStringLiteral("cannot read ") + path;
        return false;
    }
    QSettings s(path, QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Job"));
    ProgramState& ps = st.ps;
    take(s, "iSizeMode", ps.iSizeMode);
    take(s, "bPicJQ", ps.bPicJQ);
    take(s, "iXCutMode", ps.iXCutMode);
    take(s, "iYCutMode", ps.iYCutMode);
    take(s, "sBkFile", ps.sBkFile);
    take(s, "sText", ps.sText);
    take(s, "iSize", ps.iSize);
    take(s, "sFont", ps.sFont);
    take(s, "lColor", ps.lColor);
    take(s, "sBold", ps.sBold);
    take(s, "sItalic", ps.sItalic);
    take(s, "sUnderline", ps.sUnderline);
    take(s, "sSyFile", ps.sSyFile);
    take(s, "sngSyScale", ps.sngSyScale);
    take(s, "iuTSyX", ps.iuTSyX);
    take(s, "iuTSyY", ps.iuTSyY);
    take(s, "iuISyX", ps.iuISyX);
    take(s, "iuISyY", ps.iuISyY);
    take(s, "sOutFormat", ps.sOutFormat);
    take(s, "sOutDir", ps.sOutDir);
    take(s, "iJPGQ", ps.iJPGQ);
    take(s, "sPrefix", ps.sPrefix);
    take(s, "bSaveErr", ps.bSaveErr);
    // The book's texts start as a first start of the program has them.
    for (auto [key, field] : {std::pair{"sPDF1", &ps.sPDF1}, {"sPDF2", &ps.sPDF2}, {"sPDF3", &ps.sPDF3}})
        *field = SettingsStore::defaultText(QString::fromLatin1(key));
    take(s, "sPDF1", ps.sPDF1);
    take(s, "sPDF2", ps.sPDF2);
    take(s, "sPDF3", ps.sPDF3);
    if (s.contains("iuSYAlpha")) {
        take(s, "iuSYAlpha", ps.iuSYAlpha);
        st.pic.cmSy.m[3][3] = float(ps.iuSYAlpha) / 100.0f;
    }
    take(s, "sngXp", st.pic.sngXp);
    take(s, "sngYp", st.pic.sngYp);
    take(s, "iRotateMode", st.rot.iRotateMode);

    // The upload target and the page's switches; the switches start on, as
    // on a first start of the program.
    UploadModuleState& ftp = st.ftp;
    take(s, "sFtpServer", ftp.sFtpServer);
    take(s, "sFtpUser", ftp.sFtpUser);
    take(s, "sFtpPass", ftp.sFtpPass);
    take(s, "sFtpRoot", ftp.sFtpRoot);
    take(s, "sFtpDir", ftp.sFtpDir);
    take(s, "sWebURL", ftp.sWebURL);
    ps.bShowURL = 1;
    ps.bShowURLPic = 1;
    take(s, "bShowURL", ps.bShowURL);
    take(s, "bShowURLPic", ps.bShowURLPic);

    PanelState& p = st.panel;
    take(s, "txtW", p.txtW);
    take(s, "txtH", p.txtH);
    take(s, "cmbSizeCount", p.cmbSizeCount);
    take(s, "cmbPos", p.cmbPos);
    take(s, "cmbPosImg", p.cmbPosImg);
    take(s, "chkInfoTxt", p.chkInfoTxt);
    take(s, "chkInfoImg", p.chkInfoImg);
    take(s, "chkRM", p.chkRM);
    take(s, "txtNum", p.txtNum);
    take(s, "chkPDF", p.chkPDF);
    take(s, "chkFtp", p.chkFtp);
    take(s, "sldLD", p.sldLD);
    p.cmbEncode = ps.sOutFormat;
    take(s, "cmbEncode", p.cmbEncode);
    if (s.contains("mTX")) {
        take(s, "mTX", p.mTX);
        p.mTXUndo = p.mTX < 0;
    }
    return true;
}

void loadDescriptions(const QString& path, AppState& st)
{
    QSettings s(path, QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Descriptions"));
    for (const QString& key : s.childKeys()) {
        bool ok = false;
        const int position = key.toInt(&ok);
        if (ok && position >= 1 && position <= st.list.count())
            st.list.at(position - 1).description = s.value(key).toString();
    }
}

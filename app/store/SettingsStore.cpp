#include "store/SettingsStore.h"

#include <QDate>
#include <QDir>
#include <QStringList>
#include <cmath>

#include "platform/folders/ProgramFolders.h"
#include "state/AppState.h"
#include "state/NumberText.h"

namespace {

const QString kGroup = QStringLiteral("Options");

// Entries of the position choices that mean "placed by hand".
constexpr int kFreePosition = 5;

} // namespace

const std::vector<SettingKey>& settingKeys()
{
    using T = SettingType;
    static const std::vector<SettingKey> keys = {
        {"bShowToday", T::Switch, "1"},
        {"sODIR", T::String, nullptr},
        {"iuSYAlpha", T::Int16, "80"},
        {"iuSize", T::Int16, "0"},
        {"iuBk", T::Int16, "0"},
        {"sText", T::String, ""},
        {"iSize", T::Int16, "9"},
        {"sFont", T::String, "宋体"},
        {"lColor", T::Long, "0"},
        {"sBold", T::Bool, "False"},
        {"sUnderline", T::Bool, "False"},
        {"sItalic", T::Bool, "False"},
        {"iuTSyX", T::Double, "0"},
        {"iuTSyY", T::Double, "0"},
        {"suISyF", T::String, ""},
        {"iuISyX", T::Double, "0"},
        {"iuISyY", T::Double, "0"},
        {"iJPGQ", T::Byte, "100"},
        {"iSlideTime", T::Int16, "3"},
        {"bPicJQ", T::Switch, "1"},
        {"bAutoODir", T::Switch, "1"},
        {"bAutoURL", T::Switch, "1"},
        {"bShowURL", T::Switch, "1"},
        {"bShowURLPic", T::Switch, "1"},
        {"bSaveErr", T::Switch, "0"},
        {"iXCutMode", T::Int16, "1"},
        {"iYCutMode", T::Int16, "0"},
        {"sPDF1", T::String, "Vimo图片集"},
        {"sPDF2", T::String, "本图片集由Vimo图片批处理软件制作"},
        {"sPDF3", T::String, nullptr},
        {"bNewVer", T::Switch, nullptr},
        {"sSkinFileName", T::String, nullptr},
        {"iBGColor", T::Int16, "0"},
        {"sNewsURL", T::String, ""},
    };
    return keys;
}

SettingsStore::SettingsStore()
    : settings_(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vimo"), QStringLiteral("Vimo"))
{
}

namespace {
std::function<QDate()>& todaySource()
{
    static std::function<QDate()> today = [] { return QDate::currentDate(); };
    return today;
}
} // namespace

void SettingsStore::setToday(std::function<QDate()> today)
{
    todaySource() = today ? std::move(today) : [] { return QDate::currentDate(); };
}

QString SettingsStore::defaultText(const QString& key)
{
    if (key == QLatin1String("sODIR"))
        return ProgramFolders::workDir();
    if (key == QLatin1String("sPDF3"))
        return todaySource()().toString(QStringLiteral("yyyy年MM月dd日"));
    if (key == QLatin1String("sSkinFileName"))
        return QDir(ProgramFolders::skinDir()).filePath(QStringLiteral("浅蓝(默认).she"));
    for (const SettingKey& k : settingKeys())
        if (key == QLatin1String(k.name))
            return k.defaultText ? QString::fromUtf8(k.defaultText) : QString();
    return {};
}

bool SettingsStore::contains(const QString& key) const
{
    return settings_.contains(kGroup + QLatin1Char('/') + key);
}

bool SettingsStore::stored(const QString& key, QString& out) const
{
    const QVariant v = settings_.value(kGroup + QLatin1Char('/') + key);
    if (!v.isValid())
        return false;
    // An unquoted comma in a hand-edited file makes the INI reader split the
    // value into a list; "0,25" is a decimal comma, so put it back together.
    out = v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(',')) : v.toString();
    return true;
}

QString SettingsStore::text(const QString& key) const
{
    QString value;
    return stored(key, value) ? value : defaultText(key);
}

namespace {

// Absent keys without a default leave the field alone, as do texts that do not convert.
template <typename Convert, typename Field>
void readInto(const SettingsStore& store, const QString& key, Field& field, Convert convert)
{
    if (!store.contains(key) && SettingsStore::defaultText(key).isEmpty())
        return;
    if (const auto value = convert(store.text(key)))
        field = static_cast<Field>(*value);
}

} // namespace

void SettingsStore::readInt16(const QString& key, int& field) const { readInto(*this, key, field, numtext::toInt16); }
void SettingsStore::readByte(const QString& key, uint8_t& field) const { readInto(*this, key, field, numtext::toByte); }
void SettingsStore::readLong(const QString& key, int32_t& field) const { readInto(*this, key, field, numtext::toInt32); }
void SettingsStore::readBool(const QString& key, bool& field) const { readInto(*this, key, field, numtext::toBool); }
void SettingsStore::readSingle(const QString& key, float& field) const { readInto(*this, key, field, numtext::toSingle); }
void SettingsStore::readString(const QString& key, QString& field) const { field = text(key); }

void SettingsStore::writeText(const QString& key, const QString& value)
{
    settings_.setValue(kGroup + QLatin1Char('/') + key, value);
}

void SettingsStore::writeInt(const QString& key, int64_t value) { writeText(key, QString::number(value)); }
void SettingsStore::writeBool(const QString& key, bool value) { writeText(key, numtext::fromBool(value)); }
void SettingsStore::writeDouble(const QString& key, double value) { writeText(key, numtext::fromDouble(value)); }

void SettingsStore::clear()
{
    settings_.remove(kGroup);
}

bool SettingsStore::sync()
{
    settings_.sync();
    return settings_.status() == QSettings::NoError;
}

void loadMainWindowSettings(AppState& app, const SettingsStore& store)
{
    ProgramState& ps = app.ps;
    store.readSwitch(QStringLiteral("bShowToday"), ps.bShowToday);
    store.readString(QStringLiteral("sNewsURL"), ps.sNewsURL);
    store.readString(QStringLiteral("sODIR"), ps.sODIR);

    store.readInt16(QStringLiteral("iuSYAlpha"), ps.iuSYAlpha);
    app.pic.cmSy = ColorMatrix::identity();
    app.pic.cmSy.m[3][3] = float(ps.iuSYAlpha / 100.0);

    store.readInt16(QStringLiteral("iuSize"), ps.iuSize);
    store.readInt16(QStringLiteral("iuBk"), ps.iuBk);

    store.readString(QStringLiteral("sText"), ps.sText);
    store.readInt16(QStringLiteral("iSize"), ps.iSize);
    store.readString(QStringLiteral("sFont"), ps.sFont);
    store.readLong(QStringLiteral("lColor"), ps.lColor);
    store.readBool(QStringLiteral("sBold"), ps.sBold);
    store.readBool(QStringLiteral("sUnderline"), ps.sUnderline);
    store.readBool(QStringLiteral("sItalic"), ps.sItalic);
    if (!ps.sText.isEmpty()) {
        store.readSingle(QStringLiteral("iuTSyX"), ps.sngTSyX);
        store.readSingle(QStringLiteral("iuTSyY"), ps.sngTSyY);
        app.panel.chkInfoTxt = 1;
        app.panel.cmbPos = kFreePosition;
        ps.iuTSyX = ps.sngTSyX;
        ps.iuTSyY = ps.sngTSyY;
    }

    store.readString(QStringLiteral("suISyF"), ps.suISyF);
    if (!ps.suISyF.isEmpty()) {
        ps.sSyFile = ps.suISyF;
        store.readSingle(QStringLiteral("iuISyX"), ps.sngISyX);
        store.readSingle(QStringLiteral("iuISyY"), ps.sngISyY);
        app.panel.chkInfoImg = 1;
        app.panel.cmbPosImg = kFreePosition;
        ps.iuISyX = ps.sngISyX;
        ps.iuISyY = ps.sngISyY;
    }

    store.readByte(QStringLiteral("iJPGQ"), ps.iJPGQ);
    store.readInt16(QStringLiteral("iSlideTime"), ps.iSlideTime);
    store.readSwitch(QStringLiteral("bPicJQ"), ps.bPicJQ);
    store.readSwitch(QStringLiteral("bAutoODir"), ps.bAutoODir);
    store.readSwitch(QStringLiteral("bAutoURL"), ps.bAutoURL);
    store.readSwitch(QStringLiteral("bShowURL"), ps.bShowURL);
    store.readSwitch(QStringLiteral("bShowURLPic"), ps.bShowURLPic);
    store.readSwitch(QStringLiteral("bSaveErr"), ps.bSaveErr);
    store.readInt16(QStringLiteral("iXCutMode"), ps.iXCutMode);
    store.readInt16(QStringLiteral("iYCutMode"), ps.iYCutMode);
    store.readString(QStringLiteral("sPDF1"), ps.sPDF1);
    store.readString(QStringLiteral("sPDF2"), ps.sPDF2);
    store.readString(QStringLiteral("sPDF3"), ps.sPDF3);
}

void saveMainWindowSettings(SettingsStore& store, const ProgramState& ps, const CloseControls& c)
{
    if (c.sizeIndex >= 0)
        store.writeInt(QStringLiteral("iuSize"), c.sizeIndex);
    // The last two border entries are commands, not borders.
    if (c.borderIndex >= 0 && c.borderIndex < c.borderCount - 2)
        store.writeInt(QStringLiteral("iuBk"), c.borderIndex);
    // Only an opacity the box really holds is kept: a box left empty or with
    // letters must not turn the watermark invisible at the next start.
    if (const auto alpha = numtext::toInt16(c.alphaText); alpha && *alpha >= 0 && *alpha <= 100 && *alpha != ps.iuSYAlpha)
        store.writeInt(QStringLiteral("iuSYAlpha"), *alpha);

    store.writeText(QStringLiteral("suISyF"), ps.sSyFile);
    const auto writeFraction = [&](const char* key, double value) {
        if (std::isfinite(value))
            store.writeDouble(QString::fromLatin1(key), value);
    };
    writeFraction("iuISyX", ps.iuISyX);
    writeFraction("iuISyY", ps.iuISyY);

    store.writeText(QStringLiteral("sText"), ps.sText);
    store.writeInt(QStringLiteral("iSize"), ps.iSize);
    store.writeText(QStringLiteral("sFont"), ps.sFont);
    store.writeInt(QStringLiteral("lColor"), ps.lColor);
    store.writeBool(QStringLiteral("sBold"), ps.sBold);
    store.writeBool(QStringLiteral("sUnderline"), ps.sUnderline);
    store.writeBool(QStringLiteral("sItalic"), ps.sItalic);
    writeFraction("iuTSyX", ps.iuTSyX);
    writeFraction("iuTSyY", ps.iuTSyY);
    store.sync();
}

void saveOptions(SettingsStore& store, const ProgramState& ps)
{
    store.writeInt(QStringLiteral("iJPGQ"), ps.iJPGQ);
    store.writeInt(QStringLiteral("iSlideTime"), ps.iSlideTime);
    store.writeInt(QStringLiteral("bAutoODir"), ps.bAutoODir);
    store.writeInt(QStringLiteral("bAutoURL"), ps.bAutoURL);
    store.writeInt(QStringLiteral("bShowURL"), ps.bShowURL);
    store.writeInt(QStringLiteral("bShowURLPic"), ps.bShowURLPic);
    store.writeInt(QStringLiteral("bSaveErr"), ps.bSaveErr);
    store.writeInt(QStringLiteral("bPicJQ"), ps.bPicJQ);
    store.writeInt(QStringLiteral("bShowToday"), ps.bShowToday);
    store.writeInt(QStringLiteral("bNewVer"), ps.bNewVer);
    store.writeInt(QStringLiteral("iXCutMode"), ps.iXCutMode);
    store.writeInt(QStringLiteral("iYCutMode"), ps.iYCutMode);
    store.writeText(QStringLiteral("sPDF1"), ps.sPDF1);
    store.writeText(QStringLiteral("sPDF2"), ps.sPDF2);
    store.writeText(QStringLiteral("sPDF3"), ps.sPDF3);
    store.sync();
}

void loadSkinFileName(ProgramState& ps, const SettingsStore& store)
{
    store.readString(QStringLiteral("sSkinFileName"), ps.sSkinFileName);
}

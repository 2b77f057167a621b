#pragma once

#include <QDate>
#include <QSettings>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

struct AppState;
struct ProgramState;

// How a setting's text is read back.
enum class SettingType { Switch, Int16, Byte, Long, Bool, Double, String };

// One key of the store. A null default is computed at run time (the program
// folder, today's date, the default skin) or, for "bNewVer", there is none.
struct SettingKey {
    const char* name;
    SettingType type;
    const char* defaultText;
};

// Every key the program keeps, in the order of the table users read in the README.
const std::vector<SettingKey>& settingKeys();

// The user's settings: INI file of organisation and application "Vimo",
// group "Options", every value kept as the text the program writes
// (decimal text, "True"/"False", fractions with "."). A key that is absent
// reads as its default; a stored text that does not convert to the field's
// type leaves the field as it was.
class SettingsStore {
public:
    SettingsStore();

    bool contains(const QString& key) const;
    // The stored text, or the key's default when it is absent.
    QString text(const QString& key) const;
    // The default text of a key ("" for a key without one).
    static QString defaultText(const QString& key);
    // Where the default date of the book ("sPDF3") comes from; tests pin it.
    static void setToday(std::function<QDate()> today);

    void readSwitch(const QString& key, int& field) const { readInt16(key, field); }
    void readInt16(const QString& key, int& field) const;
    void readByte(const QString& key, uint8_t& field) const;
    void readLong(const QString& key, int32_t& field) const;
    void readBool(const QString& key, bool& field) const;
    void readSingle(const QString& key, float& field) const;
    void readString(const QString& key, QString& field) const;

    void writeText(const QString& key, const QString& value);
    void writeInt(const QString& key, int64_t value);
    void writeBool(const QString& key, bool value);
    void writeDouble(const QString& key, double value);

    // Forgets every stored value, so each key reads as its default.
    void clear();

    // Writes pending changes to disk; false when the file could not be written.
    bool sync();

private:
    bool stored(const QString& key, QString& out) const;
    mutable QSettings settings_;
};

// The values the main window holds at close that the program state does not.
struct CloseControls {
    int sizeIndex = -1;    // selected entry of the size choice
    int borderIndex = -1;  // selected entry of the border choice
    int borderCount = 0;   // entries of the border choice, the two command entries included
    QString alphaText;     // text of the opacity box
};

// Reads every key the main window's load uses into the state: the news
// switch, the chooser folder, opacity, size and border choice, the text
// watermark (its position only with a text), the picture watermark (its
// position only with a file), quality, slide time, switches, crop anchors and
// the PDF texts. Sets the watermark matrix's opacity and ticks the watermark
// switches of the panel for a stored text or file.
void loadMainWindowSettings(AppState& app, const SettingsStore& store);

// The close writes of the main window, in order: size and border choice,
// opacity (only a valid, changed value), picture watermark file and position,
// the text watermark and its font, then its position.
void saveMainWindowSettings(SettingsStore& store, const ProgramState& ps, const CloseControls& controls);

// The options dialog's writes: quality, slide time, the eight switches, the
// crop anchors and the three PDF texts.
void saveOptions(SettingsStore& store, const ProgramState& ps);

// The skin file, read by the splash window and written by the skin menu.
void loadSkinFileName(ProgramState& ps, const SettingsStore& store);

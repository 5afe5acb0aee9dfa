#pragma once

#include <QChar>
#include <QHash>
#include <QString>
#include <QWidget>
#include <functional>
#include <utility>

class DataSet;
class KeyboardLayout;
class QCheckBox;
class QComboBox;
class QScrollArea;
class RekvizityMemo;
class RekvizityDateEdit;
class RekvizityColumnGrip;

// The requisites of the report (the first record of ClientDataSet_00) edited one field
// per row: caption on the left, editor on the right, a draggable boundary between them.
// The panel writes every change into the table at once (the first change starts the
// edit) and posts at the points where the user moves between editors.
//
// Both tables must stay alive while the panel can receive input; the panel never touches
// them from its destructor, so either may be destroyed first.
class RekvizityPanel : public QWidget {
    Q_OBJECT

public:
    RekvizityPanel(DataSet* clientDataSet00, DataSet* clientDataSetTerr, KeyboardLayout& keyboard,
                   QWidget* parent = nullptr);
    ~RekvizityPanel() override;

    DataSet* dataSet() const { return m_ds; }

    // Posts the requisites when asked to by the editors (only while the table is
    // editing). Unset: the panel posts the table itself.
    std::function<void()> postHook;
    // A refused key or a refused paste; QApplication::beep() by default.
    std::function<void()> beep;

    // Writes what an editor still holds back (a date being typed) into the record, so
    // that a post made from outside the panel (leaving the section, closing) keeps it.
    void commitPendingEdits();
    // Shows the first record again (after a load, a cancel, a change made elsewhere).
    // Row changes and reloads of the table are picked up without it.
    void refresh();
    // The region row ("Panel_Terr"); the window hides it in this build.
    void setRegionRowVisible(bool visible);
    bool regionRowVisible() const;
    // Moves the input focus to the editor of a field (case-insensitive name); false when
    // no editor shows that field.
    bool focusField(const QString& fieldName);
    // The editor of a field, or nullptr.
    QWidget* editorForField(const QString& fieldName) const;
    // Width of the caption column in pixels; the user changes it by dragging.
    int captionWidth() const { return m_shownCaptionWidth; }
    void setCaptionWidth(int width);

    // Restricts OKUD, OKPO and OGRN to the digits in the table store.
    void SetDigitFields();
    // Digit filter of DBMemo5, DBMemoOKPO and DBMemoOGRN: digits and Backspace pass;
    // anything else beeps and is cleared to a null character.
    void DBMemoOGRNKeyPress(QChar& key);

public Q_SLOTS:
    // Legal-entity switch from the bound box (also run by section navigation).
    void DBCheckBoxEh1Click();
    // Legal-entity switch from the unbound box.
    void CheckBox2Click();
    void DBMemo_FullNameEnter();
    // Name copy for an individual auditor, then post.
    void DBMemo_FullNameExit();
    // Telephone copy into an empty contact telephone, then post.
    void DBMemo10Exit();
    // English layout, then post.
    void DBMemo12Enter();
    // Russian layout.
    void DBMemo12Exit();
    // Post when the table is editing.
    void DBMemo_NameExit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Binding {
        QString field;
        QWidget* editor = nullptr;
    };

    void buildRows();
    QWidget* addRow(const QString& caption, QWidget* editor, const QString& rowName = {});
    RekvizityMemo* addMemo(const QString& name, const QString& field, const QString& caption,
                           int lines, int maxLength, bool lineBreaks = false);
    void wire();

    bool isEditing() const;
    bool ensureFirstRecord();
    bool beginEdit();
    void postIfEditing();
    void writeMemo(RekvizityMemo* memo, const QString& field);
    void writeLegalEntity(bool checked);
    void writeRegion(int index);
    void writeDateText();
    void commitDate();
    bool currentIsUrLico() const;
    void applyLegalEntityLimits();
    bool fieldAccepts(const QString& field, QChar c) const;
    void placeGrip();
    int captionRoom() const;
    void applyCaptionWidth();
    void doBeep();

    DataSet* m_ds;
    DataSet* m_terr;
    KeyboardLayout& m_keyboard;
    bool m_updating = false;
    int m_captionWidth = 300; // wanted by the user
    int m_shownCaptionWidth = 0;

    QScrollArea* m_scroll = nullptr;
    QWidget* m_content = nullptr;
    RekvizityColumnGrip* m_grip = nullptr;
    QList<QWidget*> m_captions;
    QList<Binding> m_bindings;
    QList<std::pair<RekvizityMemo*, QString>> m_memos;
    QHash<QObject*, std::function<void()>> m_onEnter;
    QHash<QObject*, std::function<void()>> m_onExit;

    QCheckBox* m_urLico = nullptr;
    QCheckBox* m_fizLico = nullptr;
    RekvizityMemo* m_fullName = nullptr;
    RekvizityMemo* m_name = nullptr;
    RekvizityMemo* m_urAdress = nullptr;
    RekvizityMemo* m_address = nullptr;
    QWidget* m_terrRow = nullptr;
    QComboBox* m_region = nullptr;
    RekvizityMemo* m_okud = nullptr;
    RekvizityMemo* m_okpo = nullptr;
    RekvizityMemo* m_ogrn = nullptr;
    RekvizityMemo* m_telFax = nullptr;
    RekvizityMemo* m_email = nullptr;
    RekvizityMemo* m_rukovod = nullptr;
    RekvizityMemo* m_fioOtv = nullptr;
    RekvizityMemo* m_positionOtv = nullptr;
    RekvizityMemo* m_telOtv = nullptr;
    RekvizityDateEdit* m_date = nullptr;
};

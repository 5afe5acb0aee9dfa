#include "workspace/RekvizityPanel.h"

#include "model/DataSet.h"
#include "model/FormatSettings.h"
#include "platform/KeyboardLayout.h"
#include "workspace/GuiErrors.h"
#include "workspace/RekvizityColumnGrip.h"
#include "workspace/RekvizityDateEdit.h"
#include "workspace/RekvizityInput.h"
#include "workspace/RekvizityMemo.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kGripWidth = 7;
constexpr int kMargin = 6;
constexpr int kMinCaptionWidth = 80;
constexpr int kMinEditorWidth = 200;

const QString kHintUrAdress =
    u"Введите юридический адрес в виде: <индекс>, <республика/край/область …>, <район/населенный пункт>,  <улица/переулок/проезд …>, <дом (корп.)>, <квартира>"_s;
const QString kHintAddress =
    u"Введите почтовый адрес в виде: =<улица/переулок/проезд …>, <дом (корп.)>, < квартира >, <район/населенный пункт>,  <республика/край/область …>, <индекс>"_s;

bool isCompleteDate(const QString& text)
{
    static const QRegularExpression full(uR"(^\d{2}\.\d{2}\.\d{4}$|^\d{8}$)"_s);
    return full.match(text).hasMatch();
}

} // namespace

// ---------------------------------------------------------------- construction

RekvizityPanel::RekvizityPanel(DataSet* clientDataSet00, DataSet* clientDataSetTerr,
                               KeyboardLayout& keyboard, QWidget* parent)
    : QWidget(parent), m_ds(clientDataSet00), m_terr(clientDataSetTerr), m_keyboard(keyboard)
{
    setObjectName(u"Panel_00"_s);
    QFont panelFont(u"MS Sans Serif"_s);
    panelFont.setStyleHint(QFont::SansSerif);
    panelFont.setPointSize(8);
    setFont(panelFont);
    beep = [] { QApplication::beep(); };

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(u"ScrollBox_00"_s);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scroll);

    m_content = new QWidget;
    m_content->setObjectName(u"Panel_00_Rows"_s);
    auto* rows = new QVBoxLayout(m_content);
    rows->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    rows->setSpacing(4);
    m_scroll->setWidget(m_content);
    m_content->installEventFilter(this);
    m_scroll->viewport()->installEventFilter(this);

    buildRows();
    rows->addStretch(1);

    m_grip = new RekvizityColumnGrip(m_content);
    m_grip->columnWidth = [this] { return m_shownCaptionWidth; };
    m_grip->setColumnWidth = [this](int w) { setCaptionWidth(w); };
    applyCaptionWidth();

    wire();

    if (m_ds) {
        // A guard, not removeListener in the destructor: the window may destroy the
        // table before its child widgets.
        const QPointer<RekvizityPanel> guard(this);
        m_ds->addListener([guard](TableEvent, RowId) {
            if (guard)
                guard->refresh();
        });
        m_ds->onFocusField = [guard](const QString& fieldName) {
            if (guard)
                guard->focusField(fieldName);
        };
    }
    refresh();
}

RekvizityPanel::~RekvizityPanel() = default;

QWidget* RekvizityPanel::addRow(const QString& caption, QWidget* editor, const QString& rowName)
{
    auto* row = new QWidget(m_content);
    if (!rowName.isEmpty())
        row->setObjectName(rowName);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* label = new QLabel(caption, row);
    label->setObjectName(u"Label_"_s + editor->objectName());
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setBuddy(editor);
    layout->addWidget(label);
    layout->addSpacing(kGripWidth);
    layout->addWidget(editor, 1);
    m_captions << label;
    m_content->layout()->addWidget(row);
    return row;
}

RekvizityMemo* RekvizityPanel::addMemo(const QString& name, const QString& field,
                                       const QString& caption, int lines, int maxLength,
                                       bool lineBreaks)
{
    auto* memo = new RekvizityMemo(lines, lineBreaks, nullptr);
    memo->setObjectName(name);
    memo->setMaxLength(maxLength);
    memo->accepts = [this, field](QChar c) { return fieldAccepts(field, c); };
    memo->beep = [this] { doBeep(); };
    memo->pasteRefused = [](const QString& bad) {
        reportError(
            u"Текст не вставлен: символ «%1» нельзя сохранить в кодировке Windows-1251"_s.arg(bad));
    };
    addRow(caption, memo);
    m_bindings.push_back({field, memo});
    m_memos.push_back({memo, field});
    return memo;
}

void RekvizityPanel::buildRows()
{
    // Row 1: the bound box stands in the caption column, its opposite beside it.
    {
        auto* row = new QWidget(m_content);
        row->setObjectName(u"Panel_UrLico"_s);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        m_urLico = new QCheckBox(u"Юридическое лицо"_s, row);
        m_urLico->setObjectName(u"DBCheckBoxEh1"_s);
        m_fizLico = new QCheckBox(u"Физическое лицо"_s, row);
        m_fizLico->setObjectName(u"CheckBox2"_s);
        layout->addWidget(m_urLico);
        layout->addSpacing(kGripWidth);
        layout->addWidget(m_fizLico, 1);
        m_captions << m_urLico;
        m_content->layout()->addWidget(row);
        m_bindings.push_back({u"IsUrLico"_s, m_urLico});
    }

    m_fullName = addMemo(
        u"DBMemo_FullName"_s, u"FullName"_s,
        u"Полное наименование аудиторской организации (ФИО индивидуального аудитора)"_s, 2, 250);
    m_name = addMemo(u"DBMemo_Name"_s, u"name"_s, u"Краткое наименование аудиторской организации"_s,
                     2, 250);
    m_urAdress = addMemo(u"DBMemo2"_s, u"UrAdress"_s, u"Юридический адрес"_s, 2, 250);
    m_urAdress->setToolTip(kHintUrAdress);
    m_address = addMemo(u"DBMemo4"_s, u"Address"_s, u"Почтовый адрес"_s, 2, 255);
    m_address->setToolTip(kHintAddress);

    m_region = new QComboBox;
    m_region->setObjectName(u"DBLookupComboboxEh1"_s);
    m_region->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_region->setMinimumContentsLength(20);
    m_region->addItem(QString(), QVariant());
    if (m_terr) {
        const int kod = m_terr->fieldIndex(u"KodGai"_s);
        const int name = m_terr->fieldIndex(u"TerrName"_s);
        if (kod >= 0 && name >= 0)
            for (int i = 0; i < m_terr->recordCount(); ++i)
                m_region->addItem(m_terr->valueAt(i, name).toString(), m_terr->valueAt(i, kod));
    }
    m_terrRow =
        addRow(u"Субъект, где функционирует аудиторская организация (индивидуальный аудитор)"_s,
               m_region, u"Panel_Terr"_s);
    m_bindings.push_back({u"KodGAI"_s, m_region});

    // OKUD is shown only: its editor sits on a disabled part of the row.
    {
        auto* locked = new QWidget;
        locked->setObjectName(u"Panel_OKUD"_s);
        auto* layout = new QHBoxLayout(locked);
        layout->setContentsMargins(0, 0, 0, 0);
        m_okud = new RekvizityMemo(1, false, locked);
        m_okud->setObjectName(u"DBMemo5"_s);
        m_okud->setMaxLength(7);
        m_okud->setReadOnly(true);
        m_okud->accepts = [this](QChar c) { return fieldAccepts(u"OKUD"_s, c); };
        m_okud->beep = [this] { doBeep(); };
        layout->addWidget(m_okud);
        locked->setEnabled(false);
        addRow(u"Код формы по ОКУД"_s, locked);
        m_captions.back()->setObjectName(u"Label_DBMemo5"_s);
        m_bindings.push_back({u"OKUD"_s, m_okud});
        m_memos.push_back({m_okud, u"OKUD"_s});
    }

    m_okpo = addMemo(u"DBMemoOKPO"_s, u"OKPO"_s, u"ОКПО"_s, 1, 8);
    m_ogrn = addMemo(u"DBMemoOGRN"_s, u"OGRN"_s, u"ОГРН"_s, 1, 0);
    m_telFax = addMemo(u"DBMemo10"_s, u"TelFax"_s, u"Телефон/факс"_s, 1, 50);
    m_email = addMemo(u"DBMemo12"_s, u"email"_s, u"E-mail"_s, 1, 50);
    m_email->setInputMethodHints(Qt::ImhEmailCharactersOnly | Qt::ImhPreferLatin |
                                 Qt::ImhNoAutoUppercase | Qt::ImhNoPredictiveText);
    // Two lines high: this is the one editor where Enter starts a new line.
    m_rukovod = addMemo(u"DBMemo11"_s, u"rukovod"_s,
                        u"Руководитель организации (индивидуальный аудитор)"_s, 2, 100, true);
    m_fioOtv = addMemo(u"DBMemo13"_s, u"FIOotv"_s,
                       u"ФИО лица, ответственного за составление формы"_s, 1, 100);
    m_positionOtv = addMemo(u"DBMemo14"_s, u"PositionOtv"_s,
                            u"Должность лица, ответственного за составление формы"_s, 1, 100);
    m_telOtv = addMemo(u"DBMemo15"_s, u"telOtv"_s, u"Номер контактного телефона"_s, 1, 25);

    m_date = new RekvizityDateEdit(nullptr);
    m_date->setObjectName(u"DBDateTimeEditEh1"_s);
    m_date->beep = [this] { doBeep(); };
    addRow(u"Дата составления документа"_s, m_date);
    m_bindings.push_back({u"DataSost"_s, m_date});
}

void RekvizityPanel::wire()
{
    connect(m_urLico, &QCheckBox::toggled, this, [this](bool on) { writeLegalEntity(on); });
    connect(m_urLico, &QCheckBox::clicked, this, &RekvizityPanel::DBCheckBoxEh1Click);
    connect(m_fizLico, &QCheckBox::clicked, this, &RekvizityPanel::CheckBox2Click);
    connect(m_region, &QComboBox::currentIndexChanged, this,
            [this](int index) { writeRegion(index); });

    for (const auto& [memo, field] : m_memos) {
        connect(memo, &QPlainTextEdit::textChanged, this,
                [this, memo = memo, field = field] { writeMemo(memo, field); });
        memo->installEventFilter(this);
    }
    for (RekvizityMemo* digits : {m_okud, m_okpo, m_ogrn})
        digits->keyFilter = [this](QChar& key) {
            DBMemoOGRNKeyPress(key);
            return !key.isNull();
        };

    m_date->onEdited = [this] { writeDateText(); };
    m_date->onPicked = [this](QDate date) {
        if (!beginEdit())
            return;
        m_date->setText(formatDate(date));
        m_date->dirty = false;
        if (!guarded([&] { m_ds->fieldByName(u"DataSost"_s).setAsDate(date); }))
            refresh();
    };
    m_date->lineEdit()->installEventFilter(this);
    m_region->installEventFilter(this);

    const auto post = [this] { DBMemo_NameExit(); };
    m_onEnter.insert(m_fullName, [this] { DBMemo_FullNameEnter(); });
    m_onExit.insert(m_fullName, [this] { DBMemo_FullNameExit(); });
    for (QObject* o : {static_cast<QObject*>(m_name), static_cast<QObject*>(m_urAdress),
                       static_cast<QObject*>(m_address), static_cast<QObject*>(m_region),
                       static_cast<QObject*>(m_okpo), static_cast<QObject*>(m_ogrn)})
        m_onExit.insert(o, post);
    m_onExit.insert(m_telFax, [this] { DBMemo10Exit(); });
    m_onEnter.insert(m_email, [this] { DBMemo12Enter(); });
    m_onExit.insert(m_email, [this] { DBMemo12Exit(); });
    for (QObject* o : {m_rukovod, m_fioOtv, m_positionOtv, m_telOtv})
        m_onEnter.insert(o, post);
    m_onEnter.insert(m_date->lineEdit(), post);
    m_onExit.insert(m_date->lineEdit(), [this] { commitDate(); });

    // Leaving any editor also posts: a change must not wait in the record for the next
    // editor that posts, where a click elsewhere or a crash would lose it.
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_urLico, m_fizLico, m_email, m_rukovod, m_fioOtv,
                                         m_positionOtv, m_telOtv, m_date->lineEdit()}) {
        w->installEventFilter(this);
        const auto first = m_onExit.value(w);
        m_onExit.insert(w, [this, first] {
            if (first)
                first();
            DBMemo_NameExit();
        });
    }

    // Top to bottom.
    QList<QWidget*> order = {m_urLico,   m_fizLico,     m_fullName, m_name,
                             m_urAdress, m_address,     m_region,   m_okpo,
                             m_ogrn,     m_telFax,      m_email,    m_rukovod,
                             m_fioOtv,   m_positionOtv, m_telOtv,   m_date->lineEdit()};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

// ---------------------------------------------------------------- layout

int RekvizityPanel::captionRoom() const
{
    const int available = m_scroll->viewport()->width() - 2 * kMargin - kGripWidth;
    return std::min(available - kMinEditorWidth, available * 3 / 5);
}

void RekvizityPanel::setCaptionWidth(int width)
{
    if (isVisible())
        width = std::min(width, captionRoom());
    m_captionWidth = std::max(kMinCaptionWidth, width);
    applyCaptionWidth();
}

// The wanted width, narrowed while the panel is too small for it.
void RekvizityPanel::applyCaptionWidth()
{
    const int width = std::max(kMinCaptionWidth, std::min(m_captionWidth, captionRoom()));
    if (width != m_shownCaptionWidth) {
        m_shownCaptionWidth = width;
        for (QWidget* caption : std::as_const(m_captions))
            caption->setFixedWidth(width);
    }
    // The scroll area does not pass heights for widths down; a wrapped caption states
    // its own height so no line is cut off.
    for (QWidget* caption : std::as_const(m_captions))
        if (auto* label = qobject_cast<QLabel*>(caption)) {
            label->setMinimumHeight(0); // the label's height hint never drops below it
            label->setMinimumHeight(label->heightForWidth(width));
        }
    placeGrip();
}

void RekvizityPanel::placeGrip()
{
    if (!m_grip || !m_content)
        return;
    m_grip->setGeometry(kMargin + m_shownCaptionWidth, 0, kGripWidth, m_content->height());
    m_grip->raise();
}

void RekvizityPanel::setRegionRowVisible(bool visible)
{
    m_terrRow->setVisible(visible);
}

bool RekvizityPanel::regionRowVisible() const
{
    return !m_terrRow->isHidden();
}

QWidget* RekvizityPanel::editorForField(const QString& fieldName) const
{
    const QString name = fieldName.trimmed();
    for (const Binding& b : m_bindings)
        if (b.field.compare(name, Qt::CaseInsensitive) == 0)
            return b.editor;
    return nullptr;
}

bool RekvizityPanel::focusField(const QString& fieldName)
{
    QWidget* editor = editorForField(fieldName);
    if (!editor)
        return false;
    // A hidden or disabled editor cannot take the focus; that is not an error.
    if (editor->isVisibleTo(this) && editor->isEnabled()) {
        m_scroll->ensureWidgetVisible(editor);
        editor->setFocus(Qt::OtherFocusReason);
    }
    return true;
}

void RekvizityPanel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_grip) {
        m_shownCaptionWidth = 0;
        applyCaptionWidth();
    }
}

bool RekvizityPanel::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (watched == m_content && type == QEvent::Resize) {
        placeGrip();
    } else if (watched == m_scroll->viewport() && type == QEvent::Resize) {
        // Keep the editor column usable when the panel narrows.
        applyCaptionWidth();
    } else if (type == QEvent::FocusIn || type == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (type == QEvent::FocusIn)
            if (auto* w = qobject_cast<QWidget*>(watched))
                m_scroll->ensureWidgetVisible(w == m_date->lineEdit() ? m_date : w);
        // A pop-up (menu, drop-down, calendar) or another window taking the focus for a
        // while is no move between editors.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            const auto& handlers = type == QEvent::FocusIn ? m_onEnter : m_onExit;
            if (const auto it = handlers.constFind(watched); it != handlers.cend())
                (*it)();
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------- table access

bool RekvizityPanel::isEditing() const
{
    return m_ds && m_ds->isEditing();
}

bool RekvizityPanel::ensureFirstRecord()
{
    if (!m_ds || !m_ds->isOpen() || m_ds->isEmpty())
        return false;
    if (!m_ds->isEditing() && m_ds->recNo() != 1)
        m_ds->first();
    return true;
}

// The first change of any editor starts the edit of the first record.
bool RekvizityPanel::beginEdit()
{
    if (!m_ds)
        return false;
    return guarded([&] {
        if (m_ds->isEditing())
            return;
        if (!ensureFirstRecord())
            throw SilentAbort();
        m_ds->edit();
    });
}

void RekvizityPanel::postIfEditing()
{
    if (!isEditing())
        return;
    if (postHook)
        postHook();
    else
        guarded([&] { m_ds->post(); });
}

bool RekvizityPanel::fieldAccepts(const QString& field, QChar c) const
{
    if (!m_ds || m_ds->fieldIndex(field) < 0)
        return true;
    return m_ds->fieldByName(field).acceptsChar(c);
}

void RekvizityPanel::writeMemo(RekvizityMemo* memo, const QString& field)
{
    if (m_updating || !m_ds)
        return;
    const QString text = memo->storedText();
    bool ok = guarded([&] {
        if (!isEditing()) {
            if (!ensureFirstRecord())
                throw SilentAbort();
            if (m_ds->fieldByName(field).asString() == text)
                return;
        }
        if (!beginEdit())
            throw SilentAbort();
        Field f = m_ds->fieldByName(field);
        if (f.asString() != text)
            f.setAsString(text);
    });
    if (!ok)
        refresh();
}

void RekvizityPanel::writeLegalEntity(bool checked)
{
    if (m_updating || !m_ds)
        return;
    const bool ok =
        beginEdit() && guarded([&] { m_ds->fieldByName(u"IsUrLico"_s).setAsBoolean(checked); });
    if (!ok)
        refresh();
}

void RekvizityPanel::writeRegion(int index)
{
    if (m_updating || !m_ds)
        return;
    const QVariant kod = m_region->itemData(index);
    const bool ok = beginEdit() && guarded([&] {
                        Field f = m_ds->fieldByName(u"KodGAI"_s);
                        if (kod.isValid() && !kod.isNull())
                            f.setAsInteger(kod.toInt());
                        else
                            f.clear();
                    });
    if (!ok)
        refresh();
}

// While typing only a complete date goes into the field; an emptied text is taken when
// the editor is left, so a mistyped date can still bring the old one back.
void RekvizityPanel::writeDateText()
{
    if (m_updating || !m_ds)
        return;
    if (!beginEdit()) {
        m_date->dirty = false;
        refresh();
        return;
    }
    const QString text = m_date->text().trimmed();
    if (!isCompleteDate(text))
        return;
    if (const auto d = parseTypedDate(text))
        if (guarded([&] { m_ds->fieldByName(u"DataSost"_s).setAsDate(*d); }))
            m_date->dirty = false;
}

void RekvizityPanel::commitPendingEdits()
{
    if (m_date->dirty)
        commitDate();
}

// Leaving the date editor: the text becomes a date, or the field's date comes back.
void RekvizityPanel::commitDate()
{
    if (!m_ds)
        return;
    const QString text = m_date->text().trimmed();
    if (m_date->dirty) {
        if (text.isEmpty()) {
            if (beginEdit())
                guarded([&] { m_ds->fieldByName(u"DataSost"_s).clear(); });
        } else if (const auto d = parseTypedDate(text)) {
            if (beginEdit())
                guarded([&] { m_ds->fieldByName(u"DataSost"_s).setAsDate(*d); });
        } else {
            doBeep();
        }
    }
    m_date->dirty = false;
    refresh();
}

bool RekvizityPanel::currentIsUrLico() const
{
    bool ur = false;
    guarded([&] { ur = m_ds->fieldByName(u"IsUrLico"_s).asBoolean(); });
    return ur;
}

void RekvizityPanel::refresh()
{
    if (!m_ds || !m_ds->isOpen())
        return;
    const QScopedValueRollback updating(m_updating, true);
    guarded([&] {
        const bool hasRow = ensureFirstRecord();
        const auto text = [&](const QString& field) {
            return hasRow ? m_ds->fieldByName(field).asString() : QString();
        };
        for (const auto& [memo, field] : m_memos)
            memo->showStoredText(text(field));
        m_urLico->setChecked(hasRow && m_ds->fieldByName(u"IsUrLico"_s).asBoolean());
        const QVariant kod = hasRow ? m_ds->fieldByName(u"KodGAI"_s).value() : QVariant();
        const int index = kod.isNull() ? 0 : m_region->findData(kod);
        m_region->setCurrentIndex(std::max(index, 0));
        if (!m_date->dirty) {
            const QDate date = hasRow ? m_ds->fieldByName(u"DataSost"_s).asDate() : QDate();
            m_date->setText(date.isValid() ? formatDate(date) : QString());
        }
    });
}

void RekvizityPanel::doBeep()
{
    if (beep)
        beep();
}

// ---------------------------------------------------------------- handlers

void RekvizityPanel::SetDigitFields()
{
    if (!m_ds)
        return;
    for (const QString& field : {u"OKUD"_s, u"OKPO"_s, u"OGRN"_s})
        if (m_ds->fieldIndex(field) >= 0)
            m_ds->setValidChars(field, u"0123456789"_s);
}

void RekvizityPanel::DBMemoOGRNKeyPress(QChar& key)
{
    if (key == QChar(8) || (key >= u'0' && key <= u'9'))
        return;
    doBeep();
    key = QChar();
}

void RekvizityPanel::applyLegalEntityLimits()
{
    if (!m_ds || m_ds->fieldIndex(u"IsUrLico"_s) < 0)
        return;
    const bool ur = currentIsUrLico();
    m_ogrn->setMaxLength(ur ? 13 : 15);
    m_okpo->setMaxLength(ur ? 8 : 10);
}

void RekvizityPanel::DBCheckBoxEh1Click()
{
    m_fizLico->setChecked(!m_urLico->isChecked());
    applyLegalEntityLimits();
}

void RekvizityPanel::CheckBox2Click()
{
    // Setting the bound box writes IsUrLico; its own click rule then follows, as a
    // programmatic change of a check box runs its click handler.
    m_urLico->setChecked(!m_fizLico->isChecked());
    DBCheckBoxEh1Click();
}

void RekvizityPanel::DBMemo_FullNameEnter() {}

void RekvizityPanel::DBMemo_FullNameExit()
{
    if (!isEditing())
        return;
    guarded([&] {
        if (m_ds->fieldByName(u"IsUrLico"_s).asBoolean())
            return;
        const QString fullName = m_ds->fieldByName(u"FullName"_s).asString();
        for (const QString& target : {u"rukovod"_s, u"FIOotv"_s}) {
            Field f = m_ds->fieldByName(target);
            if (f.asString().trimmed().isEmpty())
                f.setAsString(fullName);
        }
    });
    refresh();
    DBMemo_NameExit();
}

void RekvizityPanel::DBMemo10Exit()
{
    if (!isEditing())
        return;
    guarded([&] {
        Field tel = m_ds->fieldByName(u"telOtv"_s);
        if (tel.asString().trimmed().isEmpty())
            tel.setAsString(m_ds->fieldByName(u"TelFax"_s).asString());
    });
    refresh();
    DBMemo_NameExit();
}

void RekvizityPanel::DBMemo12Enter()
{
    m_keyboard.activate(kLayoutEnglish);
    DBMemo_NameExit();
}

void RekvizityPanel::DBMemo12Exit()
{
    m_keyboard.activate(kLayoutRussian);
}

void RekvizityPanel::DBMemo_NameExit()
{
    postIfEditing();
}

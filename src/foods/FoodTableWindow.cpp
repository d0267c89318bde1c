#include "foods/FoodTableWindow.h"

#include "platform/Announce.h"
#include "platform/ReturnFocus.h"

#include "foods/core/FoodAmount.h"
#include "foods/core/FoodSearch.h"
#include "platform/core/Dialogs.h"
#include "ui/Colours.h"

#include <QAbstractTableModel>
#include <QAccessible>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QTimer>

#include <algorithm>

namespace morv {

// The results as rows of a view; only the rows shown are ever formatted.
class FoodResultsModel final : public QAbstractTableModel {
public:
    explicit FoodResultsModel(QObject* parent) : QAbstractTableModel(parent) {}
    void set(const FoodTable* table, std::vector<int> rows) {
        beginResetModel();
        table_ = table;
        rows_ = std::move(rows);
        endResetModel();
    }
    int foodAt(int row) const { return row >= 0 && row < rowCount() ? rows_[static_cast<size_t>(row)] : -1; }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 4; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!table_ || !index.isValid()) return {};
        const Food& food = table_->foods()[static_cast<size_t>(rows_[static_cast<size_t>(index.row())])];
        if (role == Qt::TextAlignmentRole && index.column() >= 2)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
        switch (index.column()) {
            case 0:
                return ReadableName(food.name);
            case 1:
                return table_->groupName(food.group());
            case 2:
                return SaltFigureText(food.saltTenths);
            default:
                return SodiumFigureText(food.sodium);
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
        static const char* const titles[] = {"食品名", "食品群", "食塩相当量 g/100 g", "ナトリウム mg/100 g"};
        return QString::fromUtf8(titles[section]);
    }

private:
    const FoodTable* table_ = nullptr;
    std::vector<int> rows_;
};

namespace {

QLabel* PlainLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

FoodTableWindow::FoodTableWindow(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("食品成分表"));
    search_ = new QLineEdit(this);
    search_->setAccessibleName(QStringLiteral("食品名で探す"));
    search_->setPlaceholderText(QStringLiteral("食品名 (ひらがな、カタカナ、漢字)"));
    // No food's name is half as long; a longer paste keeps its start and
    // says so, instead of being cut at Qt's 32,767 characters unseen.
    search_->setMaxLength(SearchMaxLength);
    model_ = new FoodResultsModel(this);
    results_ = new QTableView(this);
    results_->setModel(model_);
    results_->setAccessibleName(QStringLiteral("見つかった食品"));
    results_->setSelectionBehavior(QAbstractItemView::SelectRows);
    results_->setSelectionMode(QAbstractItemView::SingleSelection);
    results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The row picked is told by its selection while the typing goes on in
    // the search box, where a dark desktop draws it too faint.
    KeepSelectionReadable(results_);
    ReturnFocusOnHide(this);
    results_->verticalHeader()->hide();
    results_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    status_ = PlainLabel(this);
    food_ = PlainLabel(this);
    grams_ = new QLineEdit(this);
    grams_->setAccessibleName(QStringLiteral("食べた量 (グラム)"));
    grams_->setMaxLength(8);
    grams_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*\\.?[0-9]*")), grams_));
    amount_ = PlainLabel(this);
    fill_ = new QPushButton(QStringLiteral("この行に入れる"), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(search_, 0, 0, 1, 4);
    layout->addWidget(status_, 1, 0, 1, 4);
    layout->addWidget(results_, 2, 0, 1, 4);
    layout->addWidget(food_, 3, 0, 1, 4);
    auto* gramsCaption = PlainLabel(this);
    gramsCaption->setText(QStringLiteral("グラム"));
    gramsCaption->setBuddy(grams_);
    layout->addWidget(grams_, 4, 0);
    layout->addWidget(gramsCaption, 4, 1);
    layout->addWidget(amount_, 4, 2);
    layout->addWidget(fill_, 4, 3);
    resize(720, 480);

    connect(search_, &QLineEdit::textChanged, this, &FoodTableWindow::filter);
    connect(search_, &QLineEdit::returnPressed, this, &FoodTableWindow::pick);
    connect(search_, &QLineEdit::inputRejected, this, [this] {
        // After the search that the shortened text starts.
        QTimer::singleShot(0, this, [this] {
            const QString cut = SearchCutText();
            status_->setText(status_->text() + QStringLiteral("　") + cut);
            status_->setAccessibleName(status_->text());
            Announce(cut);
        });
    });
    connect(results_, &QTableView::activated, this, &FoodTableWindow::pick);
    connect(grams_, &QLineEdit::textChanged, this, &FoodTableWindow::showAmount);
    connect(grams_, &QLineEdit::returnPressed, this, &FoodTableWindow::fillTheRow);
    connect(fill_, &QPushButton::clicked, this, &FoodTableWindow::fillTheRow);
    search_->installEventFilter(this);
    results_->installEventFilter(this);
    showAmount();
}

void FoodTableWindow::openForRow(int slot, const ItemRecord& current) {
    if (!table_) {
        table_ = FoodTable::Builtin();
        if (!table_) {
            dialogs_.notice(QStringLiteral("食品成分表を読み込めませんでした"));
            return;
        }
        filter();
    }
    slot_ = slot;
    current_ = current;
    show();
    raise();
    activateWindow();
    search_->setFocus(Qt::OtherFocusReason);
    search_->selectAll();
}

void FoodTableWindow::filter() {
    if (!table_) return;
    model_->set(table_, SearchFoods(*table_, search_->text()));
    if (model_->rowCount() > 0) results_->selectRow(0);
    const QString text = model_->rowCount() > 0 ? QStringLiteral("%1 件").arg(model_->rowCount())
                                                : QStringLiteral("見つかりません");
    status_->setText(text);
    status_->setAccessibleName(text);
    QAccessibleEvent changed(status_, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void FoodTableWindow::pick() {
    const int row = results_->currentIndex().isValid() ? results_->currentIndex().row() : 0;
    const int index = model_->foodAt(row);
    if (index < 0) return;
    picked_ = index;
    const Food& food = *picked();
    food_->setText(QStringLiteral("%1 (%2)").arg(ReadableName(food.name), table_->groupName(food.group())));
    grams_->setText(lastGrams_.value(food.number, QStringLiteral("100")));
    showAmount();
    grams_->setFocus(Qt::OtherFocusReason);
    grams_->selectAll();
}

const Food* FoodTableWindow::picked() const {
    return table_ && picked_ >= 0 ? &table_->foods()[static_cast<size_t>(picked_)] : nullptr;
}

void FoodTableWindow::showAmount() {
    const Food* food = picked();
    const std::optional<FoodAmount> amount = food ? AmountFor(*food, grams_->text()) : std::nullopt;
    if (!food)
        amount_->setText(QStringLiteral("食品を選んでください"));
    else if (!food->measured())
        amount_->setText(QStringLiteral("ナトリウムが不明のため、行に入れられません"));
    else if (!amount)
        amount_->setText(QStringLiteral("グラム数を入れてください"));
    else
        amount_->setText(QStringLiteral("ナトリウム %1 mg　塩分 %2 g").arg(amount->sodium, amount->salt));
    amount_->setAccessibleName(amount_->text());
    grams_->setEnabled(food != nullptr);
    fill_->setEnabled(amount.has_value());
}

void FoodTableWindow::fillTheRow() {
    const Food* food = picked();
    if (!food || slot_ < 0) return;
    const std::optional<ItemRecord> record = ItemFor(*food, grams_->text());
    if (!record) return;
    const QString held = current_.ItemName.trimmed();
    if (!held.isEmpty() && held != record->ItemName &&
        !dialogs_.askYesNo(
            QStringLiteral("この行の「%1」を「%2」に置き換えますか？").arg(held, record->ItemName)))
        return;
    lastGrams_.insert(food->number, grams_->text());
    current_ = *record;
    emit fillRow(slot_, *record);
    close();
}

void FoodTableWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool FoodTableWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    // The arrows move through the results while the search box keeps the focus.
    const int rows = model_->rowCount();
    int step = 0;
    switch (key->key()) {
        case Qt::Key_Up:
            step = -1;
            break;
        case Qt::Key_Down:
            step = 1;
            break;
        case Qt::Key_PageUp:
            step = -10;
            break;
        case Qt::Key_PageDown:
            step = 10;
            break;
        default:
            break;
    }
    if (watched == search_ && step != 0) {
        if (rows > 0) {
            const int row = results_->currentIndex().isValid() ? results_->currentIndex().row() : 0;
            results_->selectRow(std::clamp(row + step, 0, rows - 1));
        }
        return true;
    }
    if (watched == results_ && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
        pick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace morv

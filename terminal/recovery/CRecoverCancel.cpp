#include "CRecoverCancel.h"

#include "CElidedLabel.h"
#include "CSerialPort.h"
#include "FileNameText.h"
#include "FileSizeColumns.h"
#include "Messages.h"
#include "resource.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimerEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

#include "MessagePump.h"

using namespace parlim;

namespace {
constexpr int kTimerMs = 1000;
// Byte counts up to this wide keep the value column, and the list beside it, in place.
const char* const kWidestCount = "99999999999";

template <class Label = QLabel>
Label* NamedLabel(int id, QWidget* parent)
{
    auto* label = new Label(parent);
    label->setObjectName(QString::number(id));
    return label;
}

QLabel* CountLabel(int id, QWidget* parent)
{
    QLabel* label = NamedLabel(id, parent);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(kWidestCount));
    return label;
}

QProgressBar* NamedBar(int id, QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QString::number(id));
    bar->setTextVisible(false);
    bar->setRange(0, 100);
    bar->setValue(0);
    return bar;
}

// One row per value, its caption on the left; the rows start at the top.
void AddLabelledRows(QGridLayout* grid, std::initializer_list<std::pair<const char*, QLabel*>> rows)
{
    int row = 0;
    for (const auto& [caption, value] : rows) {
        grid->addWidget(new QLabel(caption, value->parentWidget()), row, 0);
        grid->addWidget(value, row++, 1);
    }
}

// Progress bars hold int; large byte counts are scaled into their range.
int BarValue(std::int64_t value, std::int64_t maximum)
{
    if (maximum <= 0)
        return 0;
    return static_cast<int>(std::min<std::int64_t>(value, maximum) * 10000 / maximum);
}
} // namespace

CRecoverCancel::CRecoverCancel(CSerialPort* port, QWidget* parent) : QDialog(parent), m_pPort(port)
{
    setWindowTitle("Recover Data");
    setObjectName(QString::number(IDD_RECOVER_DATA));
    setModal(false);
    OnInitDialog();
}

CRecoverCancel::~CRecoverCancel()
{
    qApp->removeEventFilter(this);
    if (m_nTimerId != 0)
        killTimer(m_nTimerId);
    EnableParent(true);
}

void CRecoverCancel::OnInitDialog()
{
    auto* top = new QVBoxLayout(this);
    auto* directoryRow = new QHBoxLayout;
    directoryRow->addWidget(new QLabel("Directory:", this));
    m_hDirectory = NamedLabel<CElidedLabel>(IDC_RECOVER_DIRECTORY, this);
    directoryRow->addWidget(m_hDirectory, 1);
    top->addLayout(directoryRow);

    auto* body = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* batch = new QGroupBox("Files To Recover", this);
    auto* batchGrid = new QGridLayout(batch);
    m_hCorrections = NamedLabel(IDC_RECOVER_CORRECTIONS, batch);
    m_hElapsed = NamedLabel(IDC_RECOVER_ELAPSED, batch);
    m_hTimeToGo = NamedLabel(IDC_RECOVER_TIME_TO_GO, batch);
    m_hTotalBytes = CountLabel(IDC_RECOVER_TOTAL_BYTES, batch);
    m_hBytesSoFar = CountLabel(IDC_RECOVER_BYTES_SO_FAR, batch);
    AddLabelledRows(batchGrid, {{"Corrections:", m_hCorrections},
                                {"Elapsed Time:", m_hElapsed},
                                {"Time To Go:", m_hTimeToGo},
                                {"Total Bytes:", m_hTotalBytes},
                                {"Bytes Recovered:", m_hBytesSoFar}});
    m_hTotalBar = NamedBar(IDC_RECOVER_TOTAL_BAR, batch);
    batchGrid->addWidget(m_hTotalBar, 5, 0, 1, 2);
    left->addWidget(batch);

    auto* file = new QGroupBox("Current File", this);
    auto* fileGrid = new QGridLayout(file);
    m_hFileName = NamedLabel<CElidedLabel>(IDC_RECOVER_FILE_NAME, file);
    m_hFileBytes = CountLabel(IDC_RECOVER_FILE_BYTES, file);
    m_hFileSoFar = CountLabel(IDC_RECOVER_FILE_SO_FAR, file);
    AddLabelledRows(fileGrid, {{"Name", m_hFileName}, {"Total Bytes:", m_hFileBytes}, {"Bytes Recovered:", m_hFileSoFar}});
    m_hFileBar = NamedBar(IDC_RECOVER_FILE_BAR, file);
    fileGrid->addWidget(m_hFileBar, 3, 0, 1, 2);
    left->addWidget(file);
    body->addLayout(left, 0);

    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel("Files Recovered:", this));
    m_listFiles = new QTreeWidget(this);
    m_listFiles->setObjectName(QString::number(IDC_RECOVER_FILE_LIST));
    m_listFiles->setRootIsDecorated(false);
    SetUpFileSizeColumns(m_listFiles, "999999999");
    m_listFiles->setTextElideMode(Qt::ElideMiddle);
    right->addWidget(m_listFiles);
    body->addLayout(right, 1);
    top->addLayout(body);

    auto* bottom = new QHBoxLayout;
    m_checkDisableOutput = new QCheckBox("Disable Window Output", this);
    m_checkDisableOutput->setObjectName(QString::number(IDC_DISABLE_WINDOW_OUTPUT));
    connect(m_checkDisableOutput, &QCheckBox::toggled, this, &CRecoverCancel::OnDisableWindowOutput);
    bottom->addWidget(m_checkDisableOutput);
    bottom->addStretch();
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("2");
    cancel->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, &CRecoverCancel::OnCancel);
    bottom->addWidget(cancel);
    top->addLayout(bottom);
}

void CRecoverCancel::EnableParent(bool enable)
{
    if (m_pDisabledParent != nullptr) {
        m_pDisabledParent->setEnabled(enable);
        if (enable)
            m_pDisabledParent = nullptr;
    }
}

bool CRecoverCancel::Create(QWidget* parent)
{
    if (parent != nullptr) {
        m_pDisabledParent = parent;
        parent->setEnabled(false);
    }
    // The window itself stays usable while its owner is disabled.
    setParent(parent, Qt::Dialog);
    setEnabled(true);
    show();
    qApp->installEventFilter(this);
    m_nTimerId = startTimer(kTimerMs);
    m_dwStartTick = std::chrono::steady_clock::now();
    return isVisible();
}

QString CRecoverCancel::FormatSpan(std::int64_t seconds)
{
    const std::int64_t hours = (seconds / 3600) % 24;
    const std::int64_t minutes = (seconds / 60) % 60;
    return QString::asprintf("%02lld:%02lld:%02lld", static_cast<long long>(hours), static_cast<long long>(minutes),
                             static_cast<long long>(seconds % 60));
}

void CRecoverCancel::SetDirectory(const std::string& directory)
{
    m_hDirectory->SetFullText(platform::NameToText(directory));
}

void CRecoverCancel::SetCorrections(int corrections)
{
    m_hCorrections->setText(QString::number(corrections));
}

void CRecoverCancel::SetTotalBytes(std::int64_t total)
{
    if (total == -1) {
        m_hTotalBytes->setText("Not known");
        m_hTimeToGo->setText("Not known");
        m_hTotalBar->hide();
        return;
    }
    m_hTotalBytes->setText(QString::number(total));
    m_hTotalBar->setRange(0, total > 0 ? 10000 : 0);
    m_hTotalBar->setProperty("total", QVariant::fromValue<qlonglong>(total));
}

void CRecoverCancel::StartFile(const std::string& name, std::int64_t size)
{
    m_hFileName->SetFullText(platform::NameToText(name));
    m_hFileBytes->setText(QString::number(size));
    m_hFileSoFar->clear();
    m_hFileBar->setRange(0, size > 0 ? 10000 : 0);
    m_hFileBar->setProperty("total", QVariant::fromValue<qlonglong>(size));
    m_hFileBar->setValue(0);
}

void CRecoverCancel::FileDone(const std::string& name, std::int64_t size)
{
    auto* row = new QTreeWidgetItem(m_listFiles);
    row->setText(0, platform::NameToText(name));
    row->setToolTip(0, row->text(0));
    row->setText(1, QString::number(size));
    m_hFileName->SetFullText(QString());
    m_hFileBytes->clear();
    m_hFileSoFar->clear();
    m_hFileBar->setValue(0);
}

void CRecoverCancel::UpdateProgress(std::int64_t fileBytes, std::int64_t batchBytes, std::int64_t elapsedSeconds,
                                    std::int64_t remainingSeconds)
{
    m_hFileSoFar->setText(QString::number(fileBytes));
    m_hFileBar->setValue(BarValue(fileBytes, m_hFileBar->property("total").toLongLong()));
    m_hBytesSoFar->setText(QString::number(batchBytes));
    m_hTotalBar->setValue(BarValue(batchBytes, m_hTotalBar->property("total").toLongLong()));
    m_hElapsed->setText(FormatSpan(elapsedSeconds));
    if (remainingSeconds != 0)
        m_hTimeToGo->setText(FormatSpan(remainingSeconds));
}

void CRecoverCancel::ShowComplete()
{
    platform::ShowMessage(LoadResString(IDS_RECOVERY_COMPLETE), platform::MB_OK);
}

void CRecoverCancel::PostNoData()
{
    // Shown at once: the window goes as soon as the receiver returns.
    platform::ShowMessage(LoadResString(IDS_NO_DATA_TO_RECOVER), platform::MB_OK);
}

bool CRecoverCancel::CheckCancel()
{
    if (m_bCancelled)
        return false;
    QCoreApplication::processEvents();
    if (platform::IsClosing())
        return false;
    return !m_bCancelled;
}

void CRecoverCancel::OnCancel()
{
    m_bCancelled = true;
    EnableParent(true);
    hide();
}

void CRecoverCancel::reject()
{
    OnCancel();
}

void CRecoverCancel::OnDisableWindowOutput()
{
    if (m_pPort != nullptr)
        m_pPort->m_bDeliver = !m_checkDisableOutput->isChecked();
}

void CRecoverCancel::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_nTimerId) {
        QDialog::timerEvent(event);
        return;
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - m_dwStartTick);
    m_hElapsed->setText(FormatSpan((elapsed.count() + 500) / 1000));
}

bool CRecoverCancel::eventFilter(QObject* watched, QEvent* event)
{
    // Message boxes are centred over their owner: this window's values would
    // be hidden just when the user wants to read them.
    if (event->type() == QEvent::Show && isVisible()) {
        if (auto* box = qobject_cast<QMessageBox*>(watched))
            PlaceClearOfValues(box);
    }
    return QDialog::eventFilter(watched, event);
}

void CRecoverCancel::PlaceClearOfValues(QWidget* box) const
{
    const QRect window = frameGeometry();
    const int frameHeight = window.height() - geometry().height();
    const QSize size = box->sizeHint() + QSize(0, frameHeight);
    const QRect screenArea = screen()->availableGeometry();
    const QPoint candidates[] = {
        {window.left(), window.bottom() + 1},
        {window.left(), window.top() - size.height()},
        {window.right() + 1, window.top()},
        {window.left() - size.width(), window.top()},
    };
    // A window not shown yet is placed by its client area: its frame comes on top.
    const QPoint frameOffset = geometry().topLeft() - window.topLeft();
    for (const QPoint& place : candidates) {
        if (screenArea.contains(QRect(place, size))) {
            box->move(place + frameOffset);
            return;
        }
    }
    // No room beside the window: over the list, whose rows stay in the window.
    box->move(QPoint(window.right() - size.width(), window.bottom() - size.height()) + frameOffset);
}

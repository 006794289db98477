#pragma once
// CEventListWindow: the lists of the shown start's events (from the
// recorder's flags) and of its runs beyond the aircraft's limits; selecting
// a row asks for that part of the flight to be shown.

#include "analysis/aircraft_limits.h"
#include "analysis/exceedances.h"
#include "analysis/flight_events.h"

#include <QWidget>

#include <optional>
#include <vector>

class QLabel;
class QTreeWidget;

namespace veltrin {

struct StartRecord;

class CEventListWindow : public QWidget {
    Q_OBJECT

public:
    explicit CEventListWindow(QWidget* parent = nullptr);

    // Lists the events of `start` and, with usable `limits`, its
    // exceedances; without a start both lists are empty, without limits the
    // exceedance list is.
    void ShowStart(const StartRecord* start, const std::optional<AircraftLimits>& limits);

    QTreeWidget* EventTable() const { return events_; }
    QTreeWidget* ExceedanceTable() const { return exceedances_; }
    const std::vector<FlightEvent>& Events() const { return foundEvents_; }
    const std::vector<Exceedance>& Exceedances() const { return foundExceedances_; }

signals:
    // A row was selected: its first sample, and its time span in seconds of
    // the start (from the row's first to its last sample).
    void rowSelected(int firstSample, double fromSeconds, double toSeconds);

private:
    void FillEvents();
    void FillExceedances(bool limitsSet);
    void OnEventSelected();
    void OnExceedanceSelected();

    QTreeWidget* events_ = nullptr;
    QTreeWidget* exceedances_ = nullptr;
    QLabel* exceedanceTitle_ = nullptr;
    std::vector<FlightEvent> foundEvents_;
    std::vector<Exceedance> foundExceedances_;
};

}  // namespace veltrin

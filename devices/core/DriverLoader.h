#pragma once

// The driver layer: finds driver modules, lists their device families and opens devices into
// the open-device list. Modules are searched in the folders of $REELMARK_DRIVER_PATH (colon
// separated), then in drivers/ beside the program. A file that is no loadable module, has no
// entry or was built for another API version is skipped and reported once.

#include "devices/core/DeviceId.h"
#include "devices/core/DriverApi.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class CDevice;

inline constexpr const char* kDriverPathVariable = "REELMARK_DRIVER_PATH";

struct DriverFamilyInfo {
    int type = 0;
    int subtype = -1;
    QString name;
    QString driver;  // the module's file name, or the name it was registered under
};

namespace DriverLoader {

// The folders searched, in order.
QStringList SearchFolders();
// Loads the modules of the search folders once (again after ResetForTests).
void Scan();
// Scans exactly these folders (tests).
void ScanFolders(const QStringList& folders);
// Registers the families of an in-process driver under name (tests).
void RegisterDriver(const QString& name, std::vector<std::shared_ptr<IDriverFamily>> families);
// The reports of skipped files, one per file.
QStringList Reports();

std::vector<DriverFamilyInfo> ListFamilies();
// The device indices of a family in display order (empty when there is no such family).
std::vector<int> GetDeviceIndices(int type, int subtype);

// Opens a device of another layer for a type (data cards: the sensor-data layer's acquisition
// window). The factory returns a new device or null.
using DeviceFactory = std::function<CDevice*(const CDeviceId& id)>;
void SetDeviceFactory(int type, DeviceFactory factory);
// Opens the driver's device of that id through its family, with the descriptor the program
// gives it (model, name, driver); null when no family has it. Factories build on this.
std::unique_ptr<IDriverDevice> OpenDriverDevice(const CDeviceId& id, CDeviceDescriptor* descriptor);

// The open device with that id, opening it through its driver (or the type's factory) when it
// is not open yet; null when nothing can open it.
CDevice* OpenById(const CDeviceId& id);
// Opens the device, copies its descriptor out and closes it again unless keep is set (a device
// that was open before stays open): 0, or 1 when it cannot be opened.
int Probe(const CDeviceId& id, CDeviceDescriptor* descriptor, bool keep);

// The host services handed to every driver.
const DriverHostServices* HostServices();

// Test fixtures: forgets every module, family, factory and report.
void ResetForTests();

}  // namespace DriverLoader

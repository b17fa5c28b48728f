#pragma once

#include "app/tests/e2e/E2eSupport.h"
#include "devices/core/DriverLoader.h"

#include <QByteArray>

// A program test on the simulated driver (RM_SIM_DRIVER_DIR, given by each flow's target) with
// the numbers of mono cameras, colour cameras and data cards it offers.
class SimulatedDeviceTest : public ProgramTest {
protected:
    SimulatedDeviceTest(int cameras, int colourCameras, int cards)
        : m_cameras(QByteArray::number(cameras)),
          m_colourCameras(QByteArray::number(colourCameras)),
          m_cards(QByteArray::number(cards)) {}

    void SetUp() override {
        qputenv(kDriverPathVariable, RM_SIM_DRIVER_DIR);
        qputenv("REELMARK_SIM_CAMERAS", m_cameras);
        qputenv("REELMARK_SIM_COLOUR_CAMERAS", m_colourCameras);
        qputenv("REELMARK_SIM_CARDS", m_cards);
        DriverLoader::ResetForTests();
        ProgramTest::SetUp();
    }
    void TearDown() override {
        ProgramTest::TearDown();
        qunsetenv(kDriverPathVariable);
        qunsetenv("REELMARK_SIM_CAMERAS");
        qunsetenv("REELMARK_SIM_COLOUR_CAMERAS");
        qunsetenv("REELMARK_SIM_CARDS");
    }

private:
    QByteArray m_cameras;
    QByteArray m_colourCameras;
    QByteArray m_cards;
};

#include "platform/ComPortMap.h"
#include "platform/ComPortName.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(ComPortName, KeepsOnlyComFollowedByDigits) {
    EXPECT_EQ(ComPortName::Number("COM1"), 1);
    EXPECT_EQ(ComPortName::Number("COM10"), 10);
    EXPECT_EQ(ComPortName::Number("com7"), 7);
    EXPECT_EQ(ComPortName::Number("CoM007"), 7);
    EXPECT_FALSE(ComPortName::Number("COM"));
    EXPECT_FALSE(ComPortName::Number("COMX"));
    EXPECT_FALSE(ComPortName::Number("COM1a"));
    EXPECT_FALSE(ComPortName::Number("COM-1"));
    EXPECT_FALSE(ComPortName::Number("LPT1"));
    EXPECT_FALSE(ComPortName::Number("COM99999999999"));
    EXPECT_EQ(ComPortName::Format(7), "COM7");
}

TEST(ComPortMap, ReadsTheEnvironmentMapInOrder) {
    const ComPortMap map =
        ComPortMap::FromText(" COM7 = /tmp/x4sim-tty ;;COM1=/dev/ttyUSB0;bad;=/dev/x;COM2=");
    ASSERT_EQ(map.Ports().size(), 2u);
    EXPECT_EQ(map.Ports()[0].name, "COM7");
    EXPECT_EQ(map.Ports()[0].device, "/tmp/x4sim-tty");
    EXPECT_EQ(map.Ports()[1].name, "COM1");
    EXPECT_EQ(map.Find("COM1")->device, "/dev/ttyUSB0");
    EXPECT_EQ(map.Find("com7"), &map.Ports()[0]);
    EXPECT_EQ(map.Find("COM2"), nullptr);
}

namespace {

// A small copy of the kernel's device tree: a probed and an absent UART, two
// USB adapters, a USB modem, a Bluetooth link and a virtual console.
class FakeSystem : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("comportmap-" + std::to_string(::getpid()));
        fs::remove_all(root);
        places.sysClassTty = (root / "sys/class/tty").string();
        places.devDir = (root / "dev").string();
        places.byIdDir = (root / "dev/serial/by-id").string();
        fs::create_directories(places.sysClassTty);
        fs::create_directories(places.byIdDir);
        AddUart("ttyS0", "4");
        AddUart("ttyS1", "0");
        AddUsb("ttyUSB10", "usb1/1-2", "CP2102 USB to UART Bridge Controller");
        AddUsb("ttyUSB0", "usb1/1-1", "FT232R USB UART");
        AddUsb("ttyACM0", "usb1/1-3", "");
        AddTty("rfcomm0", "devices/virtual/tty/rfcomm0");
        AddTty("tty1", "devices/virtual/tty/tty1");
        fs::create_symlink("../../ttyUSB0", fs::path(places.byIdDir) /
                                                "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path AddTty(const std::string& name, const std::string& under) {
        const fs::path dir = root / "sys" / under;
        fs::create_directories(dir);
        fs::create_directory_symlink(dir, fs::path(places.sysClassTty) / name);
        std::ofstream(fs::path(places.devDir) / name) << "";
        return dir;
    }
    void AddUart(const std::string& name, const std::string& type) {
        std::ofstream(AddTty(name, "devices/platform/serial8250/tty/" + name) / "type")
            << type << "\n";
    }
    void AddUsb(const std::string& name, const std::string& usbDevice, const std::string& product) {
        const fs::path device = root / "sys/devices/pci0000:00" / usbDevice;
        const fs::path port = device / "if0" / name;
        const fs::path tty =
            AddTty(name, "devices/pci0000:00/" + usbDevice + "/if0/" + name + "/tty/" + name);
        fs::create_directory_symlink(port, tty / "device");
        std::ofstream(device / "idVendor") << "0403\n";
        if (!product.empty()) {
            std::ofstream(device / "product") << product << "\n";
        }
    }

    fs::path root;
    ComPortMap::Places places;
};

} // namespace

TEST_F(FakeSystem, NumbersRealSerialDevicesByKindThenNumber) {
    const ComPortMap map = ComPortMap::FromSysfs(places);
    std::vector<std::string> devices;
    for (const ComPort& port : map.Ports()) {
        devices.push_back(fs::path(port.device).filename().string());
    }
    EXPECT_EQ(devices,
              (std::vector<std::string>{"ttyS0", "ttyUSB0", "ttyUSB10", "ttyACM0", "rfcomm0"}));
    EXPECT_EQ(map.Ports()[0].name, "COM1");
    EXPECT_EQ(map.Ports()[4].name, "COM5");
}

TEST_F(FakeSystem, DescribesUsbAdaptersByProductAndById) {
    const ComPortMap map = ComPortMap::FromSysfs(places);
    ASSERT_EQ(map.Ports().size(), 5u);
    EXPECT_EQ(map.Ports()[0].description, "built-in serial port");
    EXPECT_EQ(map.Ports()[1].description,
              "FT232R USB UART (usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0)");
    EXPECT_EQ(map.Ports()[2].description, "CP2102 USB to UART Bridge Controller");
    EXPECT_EQ(map.Ports()[3].description, "USB modem");
    EXPECT_EQ(map.Ports()[4].description, "Bluetooth serial link");
}

TEST_F(FakeSystem, DescribesMappedFiles) {
    const std::string text =
        "COM1=" + places.devDir + "/ttyUSB0;COM2=" + places.devDir + "/gone;COM3=/dev/null";
    const ComPortMap map = ComPortMap::FromText(text, places);
    ASSERT_EQ(map.Ports().size(), 3u);
    EXPECT_EQ(map.Ports()[0].description,
              "FT232R USB UART (usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0)");
    EXPECT_EQ(map.Ports()[1].description, "not present");
    EXPECT_EQ(map.Ports()[2].description, "not a serial device");
}

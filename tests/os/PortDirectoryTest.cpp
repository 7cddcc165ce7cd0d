// COM numbers and cable candidates from a fake sysfs tree.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/os/EmulatedPortFolder.h"
#include "platform/os/PortDirectory.h"
#include "tests/support/TempRuntimeDir.h"

namespace {

// Builds a sysfs tree the way the kernel lays it out for serial ports and USB-serial adapters.
class FakeSysfs {
public:
    explicit FakeSysfs(const std::string& root) : m_root(root + "/sys") {
        mkdir(m_root.c_str(), 0755);
        Dir("/class/tty");
        Dir("/bus/usb-serial/drivers/ftdi_sio");
        Dir("/bus/usb-serial/drivers/pl2303");
        Dir("/bus/usb/drivers/cdc_acm");
    }
    const std::string& Root() const { return m_root; }

    void Consoles(const std::string& names) {
        Dir("/class/tty/console");
        File("/class/tty/console/active", names + "\n");
    }
    // A platform UART; type 0 is a placeholder with no chip behind it.
    void Uart(int n, int type, unsigned minor, bool consoleFlag = false) {
        std::string tty = "/class/tty/ttyS" + std::to_string(n);
        Dir("/devices/platform/serial8250");
        Dir(tty);
        Link("/devices/platform/serial8250", tty + "/device");
        File(tty + "/type", std::to_string(type) + "\n");
        File(tty + "/dev", "4:" + std::to_string(minor) + "\n");
        File(tty + "/console", consoleFlag ? "Y\n" : "N\n");
    }
    // A USB-serial channel: usbDevice "1-1", interface number, driver, product text.
    void UsbSerial(int n, const std::string& usbDevice, int interface, int interfaces,
                   const std::string& driver, const std::string& product,
                   const std::string& serial) {
        std::string name = "ttyUSB" + std::to_string(n);
        std::string dev = "/devices/usb1/" + usbDevice;
        std::string intf = dev + "/" + usbDevice + ":1." + std::to_string(interface);
        std::string port = intf + "/" + name;
        Dir(port);
        File(dev + "/product", product + "\n");
        File(dev + "/idVendor", "0403\n");
        if (!serial.empty()) {  // a device without a serial string has no such file
            File(dev + "/serial", serial + "\n");
        }
        File(dev + "/bNumInterfaces", " " + std::to_string(interfaces) + "\n");
        File(intf + "/bInterfaceNumber", "0" + std::to_string(interface) + "\n");
        Link("/bus/usb-serial/drivers/" + driver, port + "/driver");
        std::string tty = "/class/tty/" + name;
        Dir(tty);
        Link(port, tty + "/device");
        File(tty + "/dev", "188:" + std::to_string(n) + "\n");
    }
    void Acm(int n) {
        std::string tty = "/class/tty/ttyACM" + std::to_string(n);
        Dir("/devices/usb1/2-1/2-1:1.0");
        File("/devices/usb1/serial", "0000:00:14.0\n");  // the root hub's: no adapter's
        File("/devices/usb1/2-1/idVendor", "2341\n");
        File("/devices/usb1/2-1/serial", "ACM-SERIAL-7\n");
        Dir(tty);
        Link("/devices/usb1/2-1/2-1:1.0", tty + "/device");
        File(tty + "/dev", "166:" + std::to_string(n) + "\n");
    }
    // A virtual terminal: no device behind it.
    void VirtualTty(const std::string& name) {
        Dir("/class/tty/" + name);
        File("/class/tty/" + name + "/dev", "4:1\n");
    }

private:
    void Dir(const std::string& path) {
        size_t pos = 0;
        while (pos != std::string::npos) {
            pos = path.find('/', pos + 1);
            mkdir((m_root + path.substr(0, pos)).c_str(), 0755);
        }
    }
    void File(const std::string& path, const std::string& text) {
        std::ofstream(m_root + path) << text;
    }
    void Link(const std::string& target, const std::string& path) {
        ASSERT_EQ(symlink((m_root + target).c_str(), (m_root + path).c_str()), 0) << path;
    }
    std::string m_root;
};

class PortDirectoryTest : public testing::Test {
protected:
    PortDirectoryTest() : m_sysfs(m_runtime.Path()) {
        m_sysfs.Consoles("tty0 ttyS0");
        m_sysfs.Uart(0, 4, 64);        // the console
        m_sysfs.Uart(1, 0, 65);        // a placeholder
        m_sysfs.Uart(2, 4, 66);        // a real UART: COM3
        m_sysfs.Uart(3, 4, 67, true);  // a console by its own flag
        m_sysfs.UsbSerial(0, "1-1", 0, 1, "ftdi_sio", "QELVORN-Configuration-Cable", "FT7K2QXA");
        m_sysfs.UsbSerial(1, "1-2", 0, 2, "ftdi_sio", "Dual RS232-HS", "FT4D9");
        m_sysfs.UsbSerial(2, "1-2", 1, 2, "ftdi_sio", "Dual RS232-HS", "FT4D9");
        m_sysfs.UsbSerial(3, "1-3", 0, 1, "pl2303", "USB-Serial Controller", "");
        m_sysfs.UsbSerial(10, "1-4", 0, 1, "ftdi_sio", std::string(80, 'x'), "0123456789ABCDEFGH");
        m_sysfs.Acm(0);
        m_sysfs.VirtualTty("tty1");
    }

    TempRuntimeDir m_runtime;
    FakeSysfs m_sysfs;
};

TEST_F(PortDirectoryTest, ComNumbersFollowFixedBlocks) {
    PortDirectory directory(m_sysfs.Root(), "/dev");
    std::vector<PortLocation> ports = directory.ListComPorts();
    std::vector<std::pair<int, std::string>> seen;
    for (const PortLocation& p : ports) {
        seen.emplace_back(p.comNumber, p.devicePath);
        EXPECT_EQ(p.kind, PortLocation::Kind::Real);
    }
    EXPECT_EQ(seen, (std::vector<std::pair<int, std::string>>{
                        {3, "/dev/ttyS2"},
                        {33, "/dev/ttyUSB0"},
                        {34, "/dev/ttyUSB1"},
                        {35, "/dev/ttyUSB2"},
                        {36, "/dev/ttyUSB3"},
                        {43, "/dev/ttyUSB10"},
                        {97, "/dev/ttyACM0"},
                    }));
    ASSERT_TRUE(directory.ResolveComPort(3));
    EXPECT_EQ(directory.ResolveComPort(3)->device, makedev(4, 66));
    EXPECT_EQ(directory.ResolveComPort(97)->device, makedev(166, 0));
}

TEST_F(PortDirectoryTest, ConsolesPlaceholdersAndVirtualTerminalsAreNeverPorts) {
    PortDirectory directory(m_sysfs.Root(), "/dev");
    for (int com : {1, 2, 4, 5, 0, -1, 161, 192, 193, 256, 257}) {
        EXPECT_FALSE(directory.ResolveComPort(com)) << "COM" << com;
    }
}

TEST_F(PortDirectoryTest, CablesAreFtdiChannelsInTtyOrderWithChannelLetters) {
    std::vector<PortLocation> cables = PortDirectory(m_sysfs.Root(), "/dev").ListCables();
    ASSERT_EQ(cables.size(), 4u);
    EXPECT_EQ(cables[0].description, "QELVORN-Configuration-Cable");
    EXPECT_EQ(cables[0].serialNumber, "FT7K2QXA");
    EXPECT_EQ(cables[0].devicePath, "/dev/ttyUSB0");
    EXPECT_EQ(cables[1].description, "Dual RS232-HS A");
    EXPECT_EQ(cables[2].description, "Dual RS232-HS B");
    EXPECT_EQ(cables[2].devicePath, "/dev/ttyUSB2");
    // ttyUSB10 after ttyUSB2; texts cut to what the driver's buffers hold with their zero.
    EXPECT_EQ(cables[3].devicePath, "/dev/ttyUSB10");
    EXPECT_EQ(cables[3].description, std::string(63, 'x'));
    EXPECT_EQ(cables[3].serialNumber, "0123456789ABCDE");
}

TEST_F(PortDirectoryTest, ADescriptionLosesItsLineEndAndKeepsItsOwnBlanks) {
    m_sysfs.UsbSerial(11, "1-5", 0, 1, "ftdi_sio", "QELVORN-Configuration-Cable ", "A");
    m_sysfs.UsbSerial(12, "1-6", 0, 1, "ftdi_sio", "QELVORN-Configuration-Cable\r", "B");
    std::vector<PortLocation> cables = PortDirectory(m_sysfs.Root(), "/dev").ListCables();
    ASSERT_EQ(cables.size(), 6u);
    EXPECT_EQ(cables[4].description, "QELVORN-Configuration-Cable ");
    EXPECT_EQ(cables[5].description, "QELVORN-Configuration-Cable");  // a CR LF line end
}

TEST_F(PortDirectoryTest, EmulatedCablesFollowTheRealOnes) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    std::string slave = ptsname(master);
    std::string description = "QELVORN-Configuration-Cable";
    EmulatedPortFolder folder(true);
    ASSERT_TRUE(folder.IsUsable());
    EXPECT_EQ(folder.Publish("CABLE", slave, &description), "CABLE0");
    EXPECT_EQ(folder.Publish("EMU", slave, nullptr), "EMU0");
    EXPECT_EQ(folder.Publish("EMU", slave, nullptr), "EMU1");

    PortDirectory directory(m_sysfs.Root(), "/dev");
    std::vector<PortLocation> cables = directory.ListCables();
    ASSERT_EQ(cables.size(), 5u);
    EXPECT_EQ(cables[4].kind, PortLocation::Kind::Emulated);
    EXPECT_EQ(cables[4].devicePath, slave);
    EXPECT_EQ(cables[4].description, description);
    ASSERT_TRUE(directory.ResolveComPort(194));
    EXPECT_EQ(directory.ResolveComPort(194)->devicePath, slave);

    // A link that another emulator has taken over is not removed by the one that left it.
    folder.Unpublish("EMU1", "/dev/pts/999999");
    ASSERT_TRUE(directory.ResolveComPort(194));
    // A cable link without its description is not listed.
    folder.Unpublish("EMU1", slave);
    ASSERT_EQ(unlink((folder.Path() + "/CABLE0.description").c_str()), 0);
    EXPECT_EQ(directory.ListCables().size(), 4u);
    EXPECT_FALSE(directory.ResolveComPort(194));
    close(master);
}

// udev's links in /dev/serial/by-id, as it makes them.
void ByIdLink(const std::string& devRoot, const std::string& name, const std::string& tty) {
    mkdir(devRoot.c_str(), 0755);
    mkdir((devRoot + "/serial").c_str(), 0755);
    mkdir((devRoot + "/serial/by-id").c_str(), 0755);
    ASSERT_EQ(symlink(("../../" + tty).c_str(), (devRoot + "/serial/by-id/" + name).c_str()), 0);
}

TEST_F(PortDirectoryTest, APortIsAlsoNamedByItsUsbSerialNumberAndItsByIdLink) {
    const std::string dev = m_runtime.Path() + "/dev";
    ByIdLink(dev, "usb-FTDI_QELVORN-Configuration-Cable_FT7K2QXA-if00-port0", "ttyUSB0");
    ByIdLink(dev, "usb-Prolific_USB-Serial_Controller-if00-port0", "ttyUSB3");
    ByIdLink(dev, "usb-Arduino_Uno_ACM-SERIAL-7-if00", "ttyACM0");
    const PortDirectory directory(m_sysfs.Root(), dev);
    const struct {
        int com;
        std::string serial;
        std::string byId;  // "" when udev made none
    } rows[] = {
        {33, "FT7K2QXA", "usb-FTDI_QELVORN-Configuration-Cable_FT7K2QXA-if00-port0"},
        {34, "FT4D9", ""},
        {36, "", "usb-Prolific_USB-Serial_Controller-if00-port0"},  // an adapter without one
        {97, "ACM-SERIAL-7", "usb-Arduino_Uno_ACM-SERIAL-7-if00"},  // not the root hub's
        {3, "", ""},                                                // a UART on the board
    };
    for (const auto& row : rows) {
        std::optional<PortLocation> port = directory.ResolveComPort(row.com);
        ASSERT_TRUE(port) << row.com;
        directory.AddStableNames(*port);
        EXPECT_EQ(port->serialNumber, row.serial) << row.com;
        EXPECT_EQ(port->stablePath, row.byId.empty() ? "" : dev + "/serial/by-id/" + row.byId)
            << row.com;
    }
    const std::vector<PortLocation> cables = directory.ListCables();
    EXPECT_EQ(cables[0].stablePath,
              dev + "/serial/by-id/usb-FTDI_QELVORN-Configuration-Cable_FT7K2QXA-if00-port0");
    EXPECT_EQ(cables[1].stablePath, "");
}

TEST_F(PortDirectoryTest, AnEmulatedPortReportsTheSerialNumberItPublishes) {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string slave = ptsname(master);
    const std::string description = "QELVORN-Configuration-Cable";
    const std::string serial = "EMUSER42";
    EmulatedPortFolder folder(true);
    ASSERT_EQ(folder.Publish("CABLE", slave, &description), "CABLE0");
    ASSERT_EQ(folder.Publish("CABLE", slave, &description, &serial), "CABLE1");
    ASSERT_EQ(folder.Publish("EMU", slave, nullptr, &serial), "EMU0");

    const PortDirectory directory(m_sysfs.Root(), "/dev");
    const std::vector<PortLocation> cables = directory.ListCables();
    ASSERT_EQ(cables.size(), 6u);
    EXPECT_EQ(cables[4].name, "CABLE0");
    EXPECT_EQ(cables[4].serialNumber, "CABLE0");  // none of its own: its name, as ever
    EXPECT_EQ(cables[5].name, "CABLE1");
    EXPECT_EQ(cables[5].serialNumber, serial);
    std::optional<PortLocation> port = directory.ResolveComPort(193);
    ASSERT_TRUE(port);
    EXPECT_EQ(port->name, "EMU0");
    directory.AddStableNames(*port);
    EXPECT_EQ(port->serialNumber, serial);
    EXPECT_EQ(port->stablePath, "");

    // The serial number goes with its port.
    folder.Unpublish("CABLE1");
    folder.Unpublish("EMU0");
    EXPECT_FALSE(folder.ReadSerialNumber("CABLE1"));
    EXPECT_FALSE(folder.ReadSerialNumber("EMU0"));
    close(master);
}

TEST(PortDirectoryWithoutRuntimeDir, HasNoEmulatedPorts) {
    TempRuntimeDir runtime;
    {
        EmulatedPortFolder folder(true);
        ASSERT_TRUE(folder.IsUsable());
        ASSERT_EQ(symlink("/dev/pts/0", (folder.Path() + "/EMU0").c_str()), 0);
    }
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_FALSE(EmulatedPortFolder().IsUsable());
    EXPECT_FALSE(PortDirectory().ResolveComPort(193));
}

}  // namespace

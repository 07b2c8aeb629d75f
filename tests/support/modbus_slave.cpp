// An independent Modbus RTU device for checks of the real program: libmodbus serving holding
// registers on a serial device it opens itself, such as one side of a socat pair.
//   paramora_modbus_slave <device> <address> [<register>=<value>...]
// Registers and values are decimal or 0x-hex. Prints "ready" once the device is open, then each
// request it answers as hex bytes, one a line, until the device goes away or it is ended.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <modbus.h>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <device> <address> [<register>=<value>...]\n", argv[0]);
        return 2;
    }
    modbus_t* context = modbus_new_rtu(argv[1], 9600, 'N', 8, 1);
    modbus_mapping_t* registers = modbus_mapping_new(0, 0, 0x10000, 0);
    if (!context || !registers || modbus_set_slave(context, std::atoi(argv[2])) != 0 || modbus_connect(context) != 0) {
        std::fprintf(stderr, "%s: %s\n", argv[1], modbus_strerror(errno));
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        char* value = nullptr;
        const unsigned long address = std::strtoul(argv[i], &value, 0);
        if (*value != '=' || address > 0xFFFF) {
            std::fprintf(stderr, "not <register>=<value>: %s\n", argv[i]);
            return 2;
        }
        registers->tab_registers[address] = static_cast<std::uint16_t>(std::strtoul(value + 1, nullptr, 0));
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("ready\n");
    std::uint8_t request[MODBUS_RTU_MAX_ADU_LENGTH];
    for (;;) {
        const int length = modbus_receive(context, request);
        if (length > 0) {
            std::string line;
            for (int i = 0; i < length; ++i) {
                char byte[4];
                std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", request[i]);
                line += byte;
            }
            std::printf("%s\n", line.c_str());
            modbus_reply(context, request, length, registers);
        } else if (length < 0 && (errno == EIO || errno == EBADF || errno == ENXIO)) {
            break;  // the device went away
        }
    }
    modbus_mapping_free(registers);
    modbus_close(context);
    modbus_free(context);
    return 0;
}

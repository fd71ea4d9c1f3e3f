#ifndef TOOL_SIMSETUP_H
#define TOOL_SIMSETUP_H

// vn274-tool-sim, the tool on the simulated driver, starts the driver as the
// environment variable VN274_TOOL_SIM describes: a comma-separated list of
//   bootloader         the driver runs its bootloader (else its application)
//   unplugged          no driver on the bus
//   no-permission      the driver's device node may not be opened (EACCES)
//   read-only          it may only be read, as libusb 0.1 then opens it (EPERM
//                      when it is configured)
//   driver=SERIAL      another Vn274 after the first (which has the serial
//                      240611027), running its application; driver=SERIALb
//                      one running its bootloader. Repeat it for more.
//   FAULT              a fault of the first driver, one of
//     never-back              after a restart it never comes back
//     stays-in-bootloader     started from its bootloader, it restarts into
//                             the bootloader again: the new application
//                             never runs
//     unplugged-at-page-N     its cable comes out as the application page N
//                             is written (N as the internal flash counts its
//                             1024-byte pages: 16 to 127)
//     latency-N               every transfer to it takes N ms (a slow
//                             link, to watch a change's progress)
//   driver=SERIAL:FAULT      another driver with that fault; more faults
//                            follow after further colons.
// The other words act on the first driver.
// Unknown words end the program with status 2, so that a test cannot pass on a
// typing error.
//
// The demo program takes the same words from VN274_DEMO_SIM: another
// variable and program name for its messages.
void setUpSimulatedDriver(const char *variable = "VN274_TOOL_SIM", const char *program = "vn274-tool-sim");

#endif // TOOL_SIMSETUP_H

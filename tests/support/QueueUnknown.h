#pragma once

// Makes the program's data sockets act as on a system that cannot tell what
// a connection still holds: the SIOCOUTQ request fails. Only code linked into
// the binary itself is touched (the library links with -Wl,--wrap=ioctl);
// every other request goes through unchanged.
void setQueueUnknown(bool unknown);

#ifndef SIMDRIVER_H
#define SIMDRIVER_H
#endif

// Helper for the killed-writer test under Wine: does one scenario's work over and over until it is killed.
#include "KilledWriters.h"

int main(int argc, char** argv)
{
    return killed::WriterMain(argc, argv);
}

#ifndef OPTIONPARSING_H
#define OPTIONPARSING_H

// The parser's options that a command may take more than once, checked
// where the namespace tool cannot meet tst_tool's helper of the same name.
void verifyRepeatableOptions();

#endif // OPTIONPARSING_H

#pragma once
// Standard Base64 decoding (the "+/" alphabet, "=" padding; white space is skipped).

// Decodes into a new buffer (free it with free()) and returns its length; text that is not
// Base64 gives 0 and nullptr.
int base64Decode(const unsigned char* in, unsigned inLength, unsigned char** out);

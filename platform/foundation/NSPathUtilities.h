#pragma once
// Where the application keeps its files for the user: settings in the configuration
// directory ($XDG_CONFIG_HOME/zorvik, else ~/.config/zorvik) and documents in the data
// directory ($XDG_DATA_HOME/zorvik/Documents, else ~/.local/share/zorvik/Documents).
// Relative XDG values are ignored, as the base-directory rules ask.
#include <string>
#include <vector>

enum NSSearchPathDirectory { NSDocumentDirectory = 9 };
enum NSSearchPathDomainMask { NSUserDomainMask = 1 };

// The user's documents directory (created on first use) as the only element; empty when it
// cannot be created. `expandTilde` is accepted for the platform's signature: paths are absolute.
std::vector<std::string> NSSearchPathForDirectoriesInDomains(NSSearchPathDirectory directory,
                                                             NSSearchPathDomainMask domains, bool expandTilde);

// The application's configuration directory, created when missing; empty when it cannot be.
std::string ccConfigurationDirectory();
// The user's home directory ($HOME, else the password database).
std::string ccHomeDirectory();

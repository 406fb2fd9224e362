// PasswordKeyring: where a remembered password is kept.

#pragma once

#include <string>

namespace casavo {

// Where "Mémoriser le mot de passe" keeps the password: the desktop's
// keyring, never the settings file.
class PasswordKeyring {
 public:
  virtual ~PasswordKeyring() = default;
  // False when no keyring answers: nothing can be remembered then.
  virtual bool Available() = 0;
  // The remembered password, or empty text.
  virtual std::string Read() = 0;
  // False when the keyring did not take it.
  virtual bool Write(const std::string& password) = 0;
  virtual void Erase() = 0;
};

// The process-wide keyring: the desktop's (Secret Service through
// QtKeychain) unless a test installed another.
PasswordKeyring& Keyring();
// Installs a keyring (not owned); nullptr restores the desktop's.
void SetKeyring(PasswordKeyring* keyring);

// Moves a password that an older version left in the settings file into the
// keyring; without a keyring it is only taken out of the file.
void MovePasswordOutOfSettings();

}  // namespace casavo

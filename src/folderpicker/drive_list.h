// SPDX-License-Identifier: MIT
// A drop-down list of drives. It lists them again each time it drops down, so
// a medium mounted while the window was hidden shows up.
#pragma once

#include <QComboBox>

#include "engine/core/text.h"
#include "forms/form1_controller.h"

namespace tessark {

class DriveSource;

class DriveList : public QComboBox, public DriveChooser {
    Q_OBJECT

  public:
    DriveList(DriveSource& source, QWidget* parent);

    // Shows `drive`, or nothing when it is not listed, without a change
    // notification.
    void showDrive(const Text& drive);
    // The drive shown, as the path of its top folder.
    Text currentDrive() const;
    std::vector<Text> drives() const override;
    // DriveChooser
    void showDrive(std::size_t index) override;
    std::optional<Text> chosenDrive() const override;

  signals:
    // The user chose another drive.
    void changed();

  protected:
    void showPopup() override;

  private:
    void reload();

    DriveSource& source_;
};

}  // namespace tessark

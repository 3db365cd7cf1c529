# `make package`: a Debian package of what `make install` installs, under /usr. Its Depends come from the libraries
# the program, its own libraries and the codec plugin link (dpkg-shlibdeps); what is only loaded at run time is named.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ovreltrainer)
set(CPACK_PACKAGE_VENDOR "The OvrelTrainer developers")
set(CPACK_PACKAGE_CONTACT "OvrelTrainer <support@ovreltrainer.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "workbench for object-detection training data")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Create training projects, add train and test images, draw and classify boxes, build the Darknet input "
       "files, drive the Darknet trainer and measure the trained network.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Our own libraries sit in the package's private folder; dpkg-shlibdeps runs in the staging tree.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS usr/lib/ovreltrainer)
# The project file is opened through Qt's SQLite driver, a plugin no ELF file of ours names.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt5sql5-sqlite")
# The program runs without the trainer and without the OCR tool's English data.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "darknet, tesseract-ocr-eng")
include(CPack)

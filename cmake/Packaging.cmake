# The Debian package: cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME form2audit)
set(CPACK_PACKAGE_VENDOR "form2audit developers")
set(CPACK_PACKAGE_CONTACT "form2audit developers <maintainers@form2audit.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "report on audit activity, form No. 2-audit")
set(CPACK_PACKAGE_DESCRIPTION
    "Prepare, check, print and submit the annual statistical report on audit\n"
    "activity (form No. 2-audit): requisites and sections typed into tables with\n"
    "the official rows, automatic totals, the control with numbered errors and\n"
    "warnings, printing through LibreOffice Calc and the archive for the Ministry\n"
    "of Finance. form2audit-cli checks and exports reports in scripts.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${FORM2AUDIT_HOMEPAGE})
# Depends come from the programs' libraries; the office module's libraries and LibreOffice
# Calc itself only make printing work, so they are recommended (see DebDepends.cmake).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(FORM2AUDIT_DEB_PROGRAMS $<TARGET_FILE:form2audit> $<TARGET_FILE:form2audit-cli>)
if(TARGET form2audit_office)
    set(FORM2AUDIT_DEB_MODULES $<TARGET_FILE:form2audit_office>)
endif()
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/DebDependsFiles.cmake CONTENT
    "set(FORM2AUDIT_DEB_PROGRAMS \"${FORM2AUDIT_DEB_PROGRAMS}\")\nset(FORM2AUDIT_DEB_MODULES \"${FORM2AUDIT_DEB_MODULES}\")\n")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/DebDepends.cmake)
configure_file(${CMAKE_CURRENT_LIST_DIR}/DebDepends.cmake.in ${CMAKE_BINARY_DIR}/DebDepends.cmake @ONLY)
include(CPack)

# The result mail and the mail queue of pruvex-server: composing, the
# recipient allow-list, libcurl's SMTP and the queue in the server's database;
# and the PostgreSQL connection of the configuration.
find_package(CURL REQUIRED)
set(pruvex_mail_dir ${CMAKE_CURRENT_LIST_DIR})
add_library(pruvex_mail STATIC
  ${pruvex_mail_dir}/mailmessage.cpp ${pruvex_mail_dir}/mailmessage.h
  ${pruvex_mail_dir}/mailrecipients.cpp ${pruvex_mail_dir}/mailrecipients.h
  ${pruvex_mail_dir}/mailsettings.cpp ${pruvex_mail_dir}/mailsettings.h
  ${pruvex_mail_dir}/mailsender.cpp ${pruvex_mail_dir}/mailsender.h
  ${pruvex_mail_dir}/mailreport.cpp ${pruvex_mail_dir}/mailreport.h
  ${pruvex_mail_dir}/mailqueue.cpp ${pruvex_mail_dir}/mailqueue.h
  ${pruvex_mail_dir}/databasesettings.cpp ${pruvex_mail_dir}/databasesettings.h
)
target_include_directories(pruvex_mail PUBLIC ${pruvex_mail_dir})
target_link_libraries(pruvex_mail PUBLIC pruvex_server_lib Qt6::Core Qt6::Sql PRIVATE CURL::libcurl)
target_link_libraries(pruvex-server PRIVATE pruvex_mail)

#!/usr/bin/env bash
# The FTP servers the upload tests send to, on 127.0.0.1 only:
#   vsftpd_tls    vsftpd with explicit TLS (a self-signed certificate made
#                 here), logins and data encrypted; resumption not required,
#                 since Wine's TLS never resumes a session
#   vsftpd_plain  vsftpd without TLS
#   vsftpd_full   vsftpd without TLS, its folder on a 256 KB tmpfs
#   proftpd       ProFTPD without TLS, with "AllowOverwrite off": it never
#                 renames over a file
# Every server takes the user "lern" with the password "geheim", whose
# folder is DIR/<name> with the web folder "www" in it; vsftpd logs every
# command to DIR/<name>.log.
#   ftp-servers.sh start DIR    (ports and folders go to DIR/servers.txt)
#   ftp-servers.sh stop DIR
# TRELLAN_FTP_CERT=FILE makes vsftpd_tls use that certificate and key (one
# PEM file) instead of a new one; TRELLAN_FTP_TLS_PORT=PORT its port.
# Starting needs root (the servers switch users, PAM, tmpfs); where it
# cannot be done the reason goes to DIR.skip and the tests skip themselves.
set -uo pipefail
action="$1" dir="$(realpath -m "$2")"
skip="$dir.skip"
proftpd=/opt/trellan-tests/proftpd/usr/sbin/proftpd
# One PAM service per folder: two work trees may test at the same time.
pam_service="trellan-ftp-$(printf '%s' "$dir" | md5sum | cut -c1-12)"
# The servers' own users must reach their folders, and a repository under
# /root (mode 700) is out of their reach: the folders live in /var/tmp, and
# DIR/<name> links to them.
roots="/var/tmp/$pam_service"

give_up() { echo "$*" >"$skip"; echo "SKIP: $*"; exit 0; }

stop() {
  for pid in "$dir"/*.pid; do
    [ -f "$pid" ] && kill "$(cat "$pid")" 2>/dev/null
  done
  sleep 0.2
  mountpoint -q "$roots/vsftpd_full/www" && umount "$roots/vsftpd_full/www"
  rm -f "/etc/pam.d/$pam_service" "$skip"
  # The servers' logs stay beside, for a look at what was sent.
  if [ -d "$dir" ]; then
    rm -rf "$dir-logs"
    mkdir -p "$dir-logs"
    cp "$dir"/*.log "$dir-logs/" 2>/dev/null
  fi
  rm -rf "$dir" "$roots"
}

port_is_free() { ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

free_port() {
  local port
  for _ in $(seq 100); do
    port=$((20000 + RANDOM % 40000))
    port_is_free "$port" && { echo "$port"; return; }
  done
  return 1
}

wait_for() {
  for _ in $(seq 100); do
    port_is_free "$1" || return 0
    sleep 0.05
  done
  return 1
}

vsftpd_conf() {  # NAME PORT TLS
  local name="$1" port="$2" tls="$3"
  cat <<CONF
listen=YES
listen_address=127.0.0.1
listen_port=$port
background=NO
seccomp_sandbox=NO
anonymous_enable=NO
local_enable=YES
write_enable=YES
guest_enable=YES
guest_username=ftp
virtual_use_local_privs=YES
local_root=$roots/$name
chroot_local_user=NO
pam_service_name=$pam_service
secure_chroot_dir=$dir/empty
local_umask=022
xferlog_enable=YES
xferlog_std_format=NO
log_ftp_protocol=YES
vsftpd_log_file=$dir/$name.log
CONF
  if [ "$tls" = yes ]; then
    cat <<CONF
ssl_enable=YES
rsa_cert_file=$dir/cert.pem
rsa_private_key_file=$dir/key.pem
force_local_logins_ssl=YES
force_local_data_ssl=YES
require_ssl_reuse=NO
ssl_ciphers=HIGH
CONF
  fi
}

start() {
  stop
  mkdir -p "$dir/empty"
  rm -f "$skip"
  [ "$(id -u)" -eq 0 ] || give_up "the FTP servers need root (PAM, their own user, tmpfs)"
  command -v vsftpd >/dev/null && getent passwd ftp >/dev/null ||
    give_up "vsftpd is missing: run scripts/install-deps.sh test"
  [ -x "$proftpd" ] || give_up "ProFTPD is missing at $proftpd: run scripts/install-deps.sh test"
  [ -n "$(find /lib /usr/lib -name pam_pwdfile.so 2>/dev/null | head -1)" ] ||
    give_up "pam_pwdfile is missing (package libpam-pwdfile): run scripts/install-deps.sh test"
  if [ -n "${TRELLAN_FTP_CERT:-}" ]; then
    cp "$TRELLAN_FTP_CERT" "$dir/cert.pem"
    cp "$TRELLAN_FTP_CERT" "$dir/key.pem"
  else
    openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/CN=Trellan Testserver" \
      -keyout "$dir/key.pem" -out "$dir/cert.pem" 2>/dev/null || give_up "openssl made no certificate"
  fi
  # The accounts of both servers: "lern" with the password "geheim".
  printf 'lern:%s\n' "$(openssl passwd -1 geheim)" >"$dir/users.passwd"
  printf 'auth required pam_pwdfile.so pwdfile=%s\naccount required pam_permit.so\n' \
    "$dir/users.passwd" >"/etc/pam.d/$pam_service"

  : >"$dir/servers.txt"
  mkdir -p -m 755 "$roots"
  for name in vsftpd_tls vsftpd_plain vsftpd_full proftpd; do
    mkdir -p "$roots/$name/www"
    ln -sfn "$roots/$name" "$dir/$name"
  done
  if ! mount -t tmpfs -o size=256k tmpfs "$roots/vsftpd_full/www" 2>"$dir/mount.err"; then
    echo "no tmpfs: $(cat "$dir/mount.err")" >"$dir/vsftpd_full.skip"
  fi
  # vsftpd's virtual users write as its own user "ftp" (whose home exists),
  # ProFTPD's as nobody.
  chown -R ftp "$roots"/vsftpd_*
  chown -R nobody "$roots/proftpd"
  for name in vsftpd_tls vsftpd_plain vsftpd_full; do
    tls=no; [ "$name" = vsftpd_tls ] && tls=yes
    port="$(free_port)" || give_up "no free port"
    if [ "$tls" = yes ] && [ -n "${TRELLAN_FTP_TLS_PORT:-}" ]; then
      port="$TRELLAN_FTP_TLS_PORT"
      port_is_free "$port" || give_up "port $port is taken"
    fi
    vsftpd_conf "$name" "$port" "$tls" >"$dir/$name.conf"
    vsftpd "$dir/$name.conf" >"$dir/$name.out" 2>&1 &
    echo $! >"$dir/$name.pid"
    wait_for "$port" || give_up "$name did not start: $(cat "$dir/$name.out")"
    echo "$name $port" >>"$dir/servers.txt"
  done

  port="$(free_port)" || give_up "no free port"
  printf 'lern:%s:65534:65534::%s:/bin/false\n' "$(openssl passwd -1 geheim)" \
    "$roots/proftpd" >"$dir/proftpd.passwd"
  chmod 600 "$dir/proftpd.passwd"
  cat >"$dir/proftpd.conf" <<CONF
ServerType standalone
DefaultServer on
Port $port
DefaultAddress 127.0.0.1
SocketBindTight on
UseIPv6 off
User nobody
Group nogroup
PidFile $dir/proftpd.pid
ScoreboardFile $dir/proftpd.scoreboard
DelayTable none
WtmpLog off
UseReverseDNS off
AuthOrder mod_auth_file.c
AuthUserFile $dir/proftpd.passwd
RequireValidShell off
DefaultRoot ~
TransferLog none
<Directory />
  AllowOverwrite off
</Directory>
CONF
  "$proftpd" -n -q -c "$dir/proftpd.conf" >"$dir/proftpd.out" 2>&1 &
  wait_for "$port" || give_up "ProFTPD did not start: $(cat "$dir/proftpd.out")"
  echo "proftpd $port" >>"$dir/servers.txt"
  cat "$dir/servers.txt"
}

case "$action" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: $0 start DIR | stop DIR" >&2; exit 2 ;;
esac

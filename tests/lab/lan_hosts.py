"""Shaping the lab's PC network for the checks before a static address is sent: the PC's address on a wider
network than the lab's own, and another host answering at an address of it (an extra address in a box
namespace, which answers ARP and echoes like any host)."""
import lab


def widen_pc_net(the_lab, net=0, prefix=24):
    """Gives the PC's address of net k the prefix length `prefix` instead of the lab's (198.51.100.1/24 for
    net 0); the multicast route stays on the link. Call before the program under test lists its addresses."""
    pc_if, address = the_lab.pc_ifname(net), lab.net_address(net, 1)
    for argv in (["addr", "add", f"{address}/{prefix}", "dev", pc_if],
                 ["addr", "del", f"{address}/{lab.PREFIX_LEN}", "dev", pc_if],
                 ["route", "replace", lab.MCAST_ROUTE, "dev", pc_if, "metric", str(100 + net)]):
        the_lab.pc_run(["ip", *argv], check=True)


def add_other_host(the_lab, net, address, prefix=24):
    """Another device at `address` on net k's link."""
    the_lab.box_run(net, ["ip", "addr", "add", f"{address}/{prefix}", "dev", the_lab.box_ifname(net)], check=True)


def neighbour_entry(the_lab, address):
    """What the PC's neighbour table holds for the address ("" when it was never asked for on the link)."""
    return the_lab.pc_run(["ip", "neigh", "show", address], check=True).stdout.strip()


def remove_other_host(the_lab, net, address, prefix=24):
    """The device at `address` on net k's link leaves."""
    the_lab.box_run(net, ["ip", "addr", "del", f"{address}/{prefix}", "dev", the_lab.box_ifname(net)], check=True)


def learn_then_stale(the_lab, net, address):
    """The PC's neighbour table holds the device at `address` on net k's link (the box side's hardware
    address) as a STALE entry, as an entry that was learnt and then not used for a while."""
    lladdr = the_lab.box_run(net, ["cat", f"/sys/class/net/{the_lab.box_ifname(net)}/address"], check=True).stdout.strip()
    the_lab.pc_run(["ip", "neigh", "replace", address, "lladdr", lladdr, "dev", the_lab.pc_ifname(net), "nud", "stale"],
                   check=True)
    return neighbour_entry(the_lab, address)


def add_on_link_route(the_lab, net, destination):
    """A route from the PC straight onto net k's link, so that a probe of an address there would leave an
    entry in the PC's neighbour table."""
    the_lab.pc_run(["ip", "route", "add", destination, "dev", the_lab.pc_ifname(net)], check=True)
